#!/bin/sh
# The shipped program fits in 64 KB.  Usage: check_size.sh EXE MAX-BYTES
size=$(wc -c <"$1") || exit 1
echo "$1: $size bytes, at most $2 allowed"
[ "$size" -le "$2" ]
