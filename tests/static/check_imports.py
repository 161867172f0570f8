#!/usr/bin/env python3
"""Checks what a built program asks of the system when it loads.

Every function in its import table must stand in the committed list of
functions known to exist on the oldest Windows the program accepts, and the
system versions in its header must not ask for a newer one.  The loader
refuses a program that imports one function the system lacks ("entry point
not found") before its first line runs, and Wine implements every function
whatever version it pretends to be, so only the import table tells.

Usage: check_imports.py OBJDUMP EXE ALLOWED-LIST
"""
import re
import subprocess
import sys

# Windows 2000 is NT 5.0: a header asking for more is refused there.
MAX_VERSION = (5, 0)


def read_allowed(path):
    """The list: '[DLL]' lines open a DLL's entries, one function a line;
    '#' starts a comment.  Names of DLLs compare without case."""
    allowed, dll = {}, None
    with open(path, encoding="utf-8") as listing:
        for number, line in enumerate(listing, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            section = re.fullmatch(r"\[(.+)\]", line)
            if section:
                dll = section.group(1).lower()
                allowed.setdefault(dll, set())
            elif dll is None:
                sys.exit(f"{path}:{number}: a function before any [DLL] line")
            else:
                allowed[dll].add(line.split()[0])
    return allowed


def read_program(objdump, exe):
    """The imports as {dll: [functions]} and the header's version fields."""
    out = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                         text=True).stdout
    imports, dll, in_table = {}, None, False
    for line in out.splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            dll, in_table = name.group(1).lower(), False
            imports.setdefault(dll, [])
            continue
        if dll is None:
            continue
        if re.match(r"\s*vma:\s+Hint/Ord", line):
            in_table = True
            continue
        if in_table:
            entry = re.match(r"\s*[0-9a-fA-F]+\s+(\d+)\s+(\S+)", line)
            ordinal = re.match(r"\s*[0-9a-fA-F]+\s+<none>\s+([0-9a-fA-F]+)", line)
            if entry:
                imports[dll].append(entry.group(2))
            elif ordinal:
                imports[dll].append("ordinal " + str(int(ordinal.group(1), 16)))
            elif not line.strip():
                in_table = False
    fields = dict(re.findall(r"^(Major\w+Version|Minor\w+Version)\s+(\d+)", out, re.M))
    return imports, fields


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    objdump, exe, listing = sys.argv[1:]
    allowed = read_allowed(listing)
    imports, fields = read_program(objdump, exe)
    failures = []
    if not imports:
        failures.append("no import table found")
    for dll, functions in sorted(imports.items()):
        for function in functions:
            if function not in allowed.get(dll, ()):
                failures.append(f"{dll}: {function} is not on the list of what Windows 2000 SP4 is known to have")
    for kind in ("OSystem", "Subsystem"):
        major = int(fields.get(f"Major{kind}Version", 99))
        minor = int(fields.get(f"Minor{kind}Version", 99))
        if (major, minor) > MAX_VERSION:
            failures.append(f"the header asks for {kind} version {major}.{minor}, "
                            f"more than {MAX_VERSION[0]}.{MAX_VERSION[1]}")
    for failure in failures:
        print(failure)
    if failures:
        return 1
    count = sum(len(f) for f in imports.values())
    print(f"{exe}: {count} imports from {len(imports)} DLLs, all on the list; "
          f"OS {fields.get('MajorOSystemVersion')}.{fields.get('MinorOSystemVersion')}, "
          f"subsystem {fields.get('MajorSubsystemVersion')}.{fields.get('MinorSubsystemVersion')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
