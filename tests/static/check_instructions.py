#!/usr/bin/env python3
"""Checks that a built i686 program runs on a Pentium (i586).

Windows 2000 and XP run on Pentium-class processors (Pentium MMX, AMD K6,
Cyrix, VIA C3) that lack what came with the Pentium Pro and later: CMOVcc,
FCMOVcc, FCOMI/FUCOMI(P), UD2, the long NOP (0F 1F), MMX/SSE registers and
what uses them.  Such a processor stops the program at the first one with an
illegal instruction, whichever function holds it, so the whole file is
disassembled.  Each find is named by the function around it, from the map
file of the link that made the file.

Usage: check_instructions.py OBJDUMP EXE MAP
"""
import bisect
import collections
import re
import subprocess
import sys

# Mnemonics the Pentium lacks (objdump's AT&T spelling, operand-size suffix
# included where objdump adds one).  Not among them: UD2, which faults on
# every processor as it is meant to, and TZCNT, which is REP BSF and runs as
# BSF before it (compilers emit it only where both give the same).
LATER = re.compile(
    r"^(cmov\w+|fcmov\w+|f(u)?comip?|nop[wl]|fxsave|fxrstor|sysenter|sysexit|rdpmc"
    r"|[lms]fence|prefetch\w*|movnt\w*|clflush|emms|femms|fisttp\w*|popcnt|lzcnt"
    r"|movbe|crc32|ldmxcsr|stmxcsr|maskmov\w*|pf\w+|pi2f\w|pswapd|pavgusb|pmulhrw)$")
# Any operand in an MMX or SSE/AVX register.
VECTOR = re.compile(r"%(mm|xmm|ymm|zmm)\d")


def named(section, origin):
    """An input section as 'function (archive member)', or the bare section
    where the object was compiled without one section per function."""
    origin = re.sub(r".*/", "", origin)
    function = re.sub(r"^\.text[$.]?", "", section)
    if function.startswith("_Z"):
        function = "_" + function  # as the symbol is spelt on i686
    return f"{function or section} ({origin})"


def read_map(path):
    """Sorted (address, name) of every symbol and input section in the map."""
    entries = []
    section = re.compile(r"^ (\.text\S*)\s+0x([0-9a-f]+)\s+0x[0-9a-f]+\s+(\S+)")
    long_section = re.compile(r"^ (\.text\S*)$")
    continued = re.compile(r"^\s+0x([0-9a-f]+)\s+0x[0-9a-f]+\s+(\S+)")
    symbol = re.compile(r"^\s+0x([0-9a-f]+)\s+([A-Za-z_.$?@][\w.$?@]*)$")
    pending, origin = None, "?"
    with open(path, encoding="utf-8", errors="replace") as listing:
        for line in listing:
            line = line.rstrip("\n")
            if pending:
                found = continued.match(line)
                if found:
                    origin = found.group(2)
                    entries.append((int(found.group(1), 16), named(pending, origin)))
                pending = None
                continue
            found = section.match(line)
            if found:
                origin = found.group(3)
                entries.append((int(found.group(2), 16), named(found.group(1), origin)))
                continue
            found = long_section.match(line)
            if found:
                pending = found.group(1)
                continue
            found = symbol.match(line)
            if found and int(found.group(1), 16):
                entries.append((int(found.group(1), 16),
                                f"{found.group(2)} ({re.sub(r'.*/', '', origin)})"))
    # A symbol names its address better than the input section it starts.
    entries.sort(key=lambda entry: (entry[0], entry[1].startswith(".text")))
    return entries


def name_at(entries, starts, address):
    index = bisect.bisect_right(starts, address) - 1
    return entries[index][1] if index >= 0 else "?"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    objdump, exe, map_path = sys.argv[1:]
    entries = read_map(map_path)
    starts = [address for address, _ in entries]
    out = subprocess.run([objdump, "-d", "--no-show-raw-insn", exe], check=True,
                         capture_output=True, text=True).stdout
    instruction = re.compile(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$")
    finds = collections.OrderedDict()
    total = 0
    for line in out.splitlines():
        found = instruction.match(line)
        if not found:
            continue
        address, mnemonic, operands = found.groups()
        words = [mnemonic] + operands.split()
        # Prefixes (lock, rep, data16 ...) come before the mnemonic.
        while words and words[0] in ("lock", "rep", "repz", "repnz", "repe", "repne",
                                     "data16", "addr16", "cs", "ds", "ss", "es", "fs", "gs"):
            words = words[1:]
        if not words:
            continue
        if LATER.match(words[0]) or VECTOR.search(operands):
            total += 1
            name = name_at(entries, starts, int(address, 16))
            finds.setdefault(name, collections.Counter())[words[0]] += 1
    names = list(finds)
    symbols = [name.split(" ")[0] for name in names]
    demangled = subprocess.run([re.sub(r"objdump$", "c++filt", objdump)],
                               input="\n".join(symbols), capture_output=True,
                               text=True).stdout.splitlines()
    if len(demangled) != len(names):
        demangled = symbols
    origins = collections.Counter()
    for name, symbol, shown in zip(names, symbols, demangled):
        counts = ", ".join(f"{m} {c}" for m, c in sorted(finds[name].items()))
        print(f"{shown}{name[len(symbol):]}: {counts}")
        origin = re.search(r"\(([^()]*?)(\(|\)$)", name)
        origins[origin.group(1) if origin else "?"] += sum(finds[name].values())
    if origins:
        print("by file: " + ", ".join(f"{o} {c}" for o, c in origins.most_common()))
    print(f"{exe}: {total} instructions that a Pentium (i586) lacks, in {len(finds)} functions")
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main())
