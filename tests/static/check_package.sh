#!/usr/bin/env bash
# The release zip is made of the very program the tests ran, and packing the
# same build twice, under another time zone and umask, gives the same bytes.
# Usage: check_package.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
src=$1 build=$2
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$src/tools/package.sh" zip "$build" "$work/first.zip"
(umask 077; TZ=Asia/Tokyo "$src/tools/package.sh" zip "$build" "$work/second.zip")
if ! cmp -s "$work/first.zip" "$work/second.zip"; then
    echo "two packings of one build differ"; exit 1
fi
python3 - "$work/first.zip" "$build/halvexor.exe" "$src/data/settings.sf" <<'PY'
import sys, zipfile
archive, program, settings = sys.argv[1], sys.argv[2], sys.argv[3]
with zipfile.ZipFile(archive) as z:
    names = z.namelist()
    expected = ["Halvexor/data/as.bf", "Halvexor/data/bld_rm.tf", "Halvexor/data/prg.bf",
                "Halvexor/data/readme.html", "Halvexor/data/settings.sf", "Halvexor/data/tr.bf",
                "Halvexor/data/trb.bf", "Halvexor/data/za.bf", "Halvexor/halvexor.exe"]
    if sorted(names) != expected:
        sys.exit(f"unexpected entries: {names}")
    if z.read("Halvexor/halvexor.exe") != open(program, "rb").read():
        sys.exit("the zip's halvexor.exe is not the build's")
    # The committed file, which a native test holds to what a first start writes.
    shipped = z.read("Halvexor/data/settings.sf")
    if len(shipped) != 20 or shipped != open(settings, "rb").read():
        sys.exit(f"the zip's settings.sf is not the committed 20 bytes: {shipped.hex()}")
print(f"{archive}: {len(names)} entries, the build's program and settings file, the same bytes twice")
PY
