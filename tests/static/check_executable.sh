#!/bin/sh
# Checks a built program: the machine it is for, that it is a GUI program, and
# that it imports nothing but system DLLs (it links statically), none of them
# one that Windows would look for beside the program first.
# Usage: check_executable.sh OBJDUMP EXE i386|x86-64
set -u
objdump=$1 exe=$2 arch=$3
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }

case "$arch" in
  i386) format='pei-i386' magic='Magic[[:space:]]+010b' ;;
  x86-64) format='pei-x86-64' magic='Magic[[:space:]]+020b' ;;
  *) echo "unknown arch $arch"; exit 1 ;;
esac
echo "$headers" | grep -q "file format $format" || { echo "not a $format executable"; exit 1; }
echo "$headers" | grep -Eq "$magic" || { echo "wrong optional header for $arch"; exit 1; }
echo "$headers" | grep -Eq 'Subsystem[[:space:]]+00000002' || { echo "not a Windows GUI program"; exit 1; }

allowed='^(kernel32|user32|gdi32|shell32|advapi32|msvcrt)\.dll$'
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports found"; exit 1; }
bad=$(echo "$dlls" | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then
  echo "imports DLLs that are not part of the system:"; echo "$bad"; exit 1
fi
echo "$exe: $format GUI program importing only: $(echo $dlls)"
