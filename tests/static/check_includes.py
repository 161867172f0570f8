"""Every include of src/ points down, and no units include each other in a circle.

A unit is a source with its header.  The core is what halvexor_core in
CMakeLists.txt compiles, and the headers without a source that include no
Windows header; the rest is glue.  The ground floor, base/, includes only
itself; a core the cores below app/; the glue those and the glue of the
floors that MAY_INCLUDE names; app/, the top, anything.
Usage: check_includes.py SRC-DIR CMAKELISTS
"""
import pathlib, re, sys

# Whose glue the glue of each folder may include: its own, and the floors below it.
MAY_INCLUDE = {"base": ["base"], "actions": ["base", "actions"], "settings": ["base", "settings"],
               "dialogs": ["base", "dialogs"], "schedule": ["base", "actions", "settings", "schedule"]}

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
    for target, where in filter(lambda t: t[0] in units, targets):
        to = target.split("/")[0]
        core = is_core(target) and to != "app"
        if folder == "base":
            core = to == "base"
        if not (folder == "app" or core or not is_core(unit) and to in MAY_INCLUDE[folder]):
            faults.append(f"{where}: {unit} ({'core' if is_core(unit) else 'glue'}) may not include \"{target}.h\"")

def walk(unit, path):  # depth first; a unit met again on its own path closes a circle
    for target, where in includes.get(unit, []):
        if target in path:
            faults.append(f"{where}: circle " + " -> ".join(path[path.index(target):] + [target]))
        elif target in units and target not in done:
            walk(target, path + [target])
    done.add(unit)
done = set()
for unit in units:
    walk(unit, [unit])

print("\n".join(faults) if faults else f"{len(units)} units, every include points down")
sys.exit(1 if faults else 0)
