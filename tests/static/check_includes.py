"""The program reads from the bottom up: every include of src/ points down.

A unit is a source with its header.  The platform-free core is what the
library halvexor_core in CMakeLists.txt compiles, and the headers without a
source that include no Windows header.  A unit of base/, the ground floor,
includes nothing above it; a core unit only the ground's core and other cores;
the glue any core, the ground, and the glue of its own folder and of those it
stands on below; app/, the top, anything.  No units include each other in a
circle.  Usage: check_includes.py SRC-DIR CMAKELISTS
"""
import pathlib, re, sys

# The glue of each folder and what it stands on, lowest first.
STANDS_ON = {"base": [], "actions": ["base"], "settings": ["base"], "dialogs": ["base"],
             "schedule": ["base", "actions", "settings"]}

src, cmake = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]).read_text()
core_sources = re.search(r"add_library\(halvexor_core STATIC(.*?)\)", cmake, re.S).group(1).split()
units, includes = {}, {}
for path in sorted(src.rglob("*")):
    if path.suffix in (".h", ".cpp"):
        name = path.relative_to(src).with_suffix("").as_posix()
        units.setdefault(name, []).append(path)
        text = path.read_text(encoding="utf-8")
        for n, line in enumerate(text.splitlines(), 1):
            m = re.match(r'\s*#include\s+"([^"]+)\.h"', line)
            if m and m.group(1) != name:
                includes.setdefault(name, []).append((m.group(1), f"{path.relative_to(src)}:{n}"))


def is_core(unit):
    files = units[unit]
    return "src/" + unit + ".cpp" in core_sources or len(files) == 1 and files[0].suffix == ".h" \
        and not re.search(r"#include <(windows|shellapi)", files[0].read_text(encoding="utf-8"))


faults = []
for unit, targets in includes.items():
    folder = unit.split("/")[0]
    for target, where in targets:
        to = target.split("/")[0]
        if target not in units:
            continue
        if folder == "base":
            ok = to == "base"
        elif is_core(unit):
            ok = folder == "app" or is_core(target) and to != "app"
        else:
            ok = folder == "app" or to in [folder] + STANDS_ON[folder] or is_core(target) and to != "app"
        if not ok:
            faults.append(f"{where}: {unit} ({'core' if is_core(unit) else 'glue'}) may not include \"{target}.h\"")

# Circles: a depth-first walk that meets a unit still on its path.
state = {}
def walk(unit, path):
    state[unit] = 1
    for target, where in includes.get(unit, []):
        if state.get(target) == 1:
            faults.append(f"{where}: circle " + " -> ".join(path[path.index(target):] + [unit, target]))
        elif target in units and not state.get(target):
            walk(target, path + [unit])
    state[unit] = 2
for unit in units:
    if not state.get(unit):
        walk(unit, [])

print("\n".join(faults) if faults else f"{len(units)} units, every include points down")
sys.exit(1 if faults else 0)
