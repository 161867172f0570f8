#!/usr/bin/env bash
# The program of one build laid out with its data folder, and the release zip
# of it.  Everything carries the time SOURCE_DATE_EPOCH (dev.sh sets it to the
# commit's time), so the same commit gives the same bytes.
#
#   tools/package.sh layout BUILD-DIR DEST   halvexor.exe and data/ into DEST
#   tools/package.sh zip BUILD-DIR ZIP       ZIP holds Halvexor/ laid out so
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH must be set}"

layout() {  # layout BUILD-DIR DEST
    rm -rf "$2" && mkdir -p "$2/data"
    cp "$1/halvexor.exe" "$2/"
    # The settings file too: a first start where the user cannot write (a
    # folder under Program Files) could not create it.
    cp "$root"/data/*.bf "$root/data/readme.html" "$root/data/settings.sf" "$2/data/"
    date -u -d "@$SOURCE_DATE_EPOCH" +%Y%m%d >"$2/data/bld_rm.tf"
}

# Entries in a fixed order, no directory entries, no extra attributes, every
# time and mode set: the zip's bytes depend on the files' contents alone.
pack() {  # pack BUILD-DIR ZIP
    local zip=$2 stage
    [[ $zip = /* ]] || zip=$PWD/$zip
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' RETURN
    layout "$1" "$stage/Halvexor"
    find "$stage/Halvexor" -type f -exec chmod 644 {} +
    find "$stage/Halvexor" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    rm -f "$zip"
    (cd "$stage" && find Halvexor -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$zip")
}

case "${1:-}" in
    layout) layout "$2" "$3" ;;
    zip) pack "$2" "$3" ;;
    *) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
