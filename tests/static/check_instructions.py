#!/usr/bin/env python3
"""Checks that every instruction of a built i686 program runs on a Pentium.

Windows 2000 and XP run on Pentium-class processors, which stop at the first
instruction of the Pentium Pro or later (CMOVcc, FCOMI, the long NOP, MMX/SSE)
wherever it is: the whole file is disassembled, the link's map names the find.

Usage: check_instructions.py OBJDUMP EXE MAP
"""
import bisect, collections, re, subprocess, sys

# UD2 is not among them: it faults everywhere, as meant.  Nor TZCNT, which is
# REP BSF and runs as BSF before (compilers emit it only where both agree).
LATER = re.compile(r"(cmov|fcmov)\w+|f(u)?comip?|nop[wl]|fxsave|fxrstor|sysenter|sysexit|rdpmc"
                   r"|[lms]fence|prefetch\w*|movnt\w*|clflush|emms|femms|fisttp\w*|popcnt"
                   r"|lzcnt|movbe|crc32\w*|[ls]dmxcsr|maskmov\w*")
VECTOR = re.compile(r"%[xyz]?mm\d")  # an MMX or SSE/AVX register
PREFIXES = {"lock", "rep", "repz", "repnz", "data16", "addr16", "cs", "ds", "es", "fs", "gs", "ss"}


def read_map(path):
    """Sorted (address, name, object) of the symbols and code sections."""
    names, section, origin = [], None, "?"
    for line in open(path, encoding="utf-8", errors="replace"):
        parts = line.split()
        if line.startswith(" .text"):
            section, parts = parts[0], parts[1:]  # a long name: the rest on the next line
        if section and len(parts) == 3 and parts[0].startswith("0x"):
            origin = re.sub(r".*/", "", parts[2])
            name = re.sub(r"^\.text[$.]?", "", section) or section
            names.append((int(parts[0], 16), ("_" if name.startswith("_Z") else "") + name, origin))
        elif len(parts) == 2 and parts[0].startswith("0x") and re.fullmatch(r"[\w.$?@]+", parts[1]):
            names.append((int(parts[0], 16), parts[1], origin))
        section = None if parts else section
    return sorted(names)


def main():
    objdump, exe, map_path = sys.argv[1:]
    names = read_map(map_path)
    starts = [entry[0] for entry in names]
    out = subprocess.run([objdump, "-d", "--no-show-raw-insn", exe], check=True,
                         capture_output=True, text=True).stdout
    finds = collections.defaultdict(collections.Counter)
    for address, words in re.findall(r"^\s*([0-9a-f]+):\s+(.*)$", out, re.M):
        words = [w for w in words.split() if w not in PREFIXES]
        if words and (LATER.fullmatch(words[0]) or VECTOR.search(" ".join(words[1:]))):
            index = bisect.bisect_right(starts, int(address, 16)) - 1
            finds[names[index][1:] if index >= 0 else ("?", "?")][words[0]] += 1
    shown = subprocess.run([re.sub(r"objdump$", "c++filt", objdump)], capture_output=True,
                           input="\n".join(symbol for symbol, _ in finds), text=True).stdout.split("\n")
    for (symbol, origin), name in zip(finds, shown):
        counts = ", ".join(f"{m} {c}" for m, c in sorted(finds[(symbol, origin)].items()))
        print(f"{name or symbol} ({origin}): {counts}")
    total = sum(sum(c.values()) for c in finds.values())
    print(f"{exe}: {total} instructions that a Pentium (i586) lacks, in {len(finds)} functions")
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main())
