#!/bin/sh
# The shipped program fits in 64 KB, as a program of its kind did on the
# systems it runs on.
# Usage: check_size.sh EXE MAX-BYTES
set -u
size=$(wc -c <"$1") || { echo "cannot read $1"; exit 1; }
echo "$1: $size bytes, at most $2 allowed"
[ "$size" -le "$2" ]
