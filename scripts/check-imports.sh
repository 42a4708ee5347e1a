#!/usr/bin/env bash
# Lists the DLLs a Windows program imports and fails on any that is not part of every Windows
# installation, so that a static build stays a single file that runs on a bare system.
# Usage: check-imports.sh PROGRAM.exe
set -euo pipefail

allowed="ADVAPI32.dll COMCTL32.dll GDI32.dll KERNEL32.dll msvcrt.dll SHELL32.dll USER32.dll"
imports="$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | sort -u)"
[ -n "$imports" ] || { echo "no imports found in $1"; exit 1; }

status=0
for dll in $imports; do
  if [[ " ${allowed,,} " == *" ${dll,,} "* ]]; then
    echo "imports $dll"
  else
    echo "imports $dll, which a bare Windows does not have"
    status=1
  fi
done
exit "$status"
