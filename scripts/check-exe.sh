#!/usr/bin/env bash
# Checks the built program as it ships: a GUI program with ASLR (high entropy) and DEP, that
# needs nothing beside it but Windows' own DLLs, and that carries its version record.
set -euo pipefail
exe=${1:-build/windows/Quorvel.exe}
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
fail=0
check() {
  if grep -q -- "$2" <<<"$headers"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi
}
check "GUI subsystem" "(Windows GUI)"
check "ASLR: dynamic base" "DYNAMIC_BASE"
check "ASLR: high-entropy addresses" "HIGH_ENTROPY_VA"
check "DEP: NX compatible" "NX_COMPAT"

system_dlls="^(kernel32|user32|gdi32|comctl32|msvcrt|advapi32|shell32|ole32|uxtheme)\.dll$"
while read -r dll; do
  if grep -qiE "$system_dlls" <<<"$dll"; then
    echo "ok: imports $dll"
  else
    echo "FAIL: imports $dll, which Windows does not ship"
    fail=1
  fi
done < <(grep "DLL Name:" <<<"$headers" | awk '{print $3}')

texts=$(strings -el "$exe")
for value in "FileVersion 1.00" "ProductVersion 1.00" "InternalName Quorvel"; do
  name=${value% *}
  want=${value#* }
  if grep -A1 -x "$name" <<<"$texts" | tail -n 1 | grep -qx "$want"; then
    echo "ok: $name $want"
  else
    echo "FAIL: $name is not $want"
    fail=1
  fi
done
size=$(stat -c %s "$exe")
echo "size: $size bytes"
exit $fail
