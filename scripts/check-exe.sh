#!/usr/bin/env bash
# Checks the built program as it ships: a GUI program for its processor, with ASLR, DEP, a
# stack protector and (32-bit) no SEH handlers, that imports only DLLs that cannot be planted
# beside it, carries its icon, manifest and version record, and stays small. Its version record is
# the window tests' to check.
# Usage: scripts/check-exe.sh build/windows/Quorvel.exe | build/windows-x86/Quorvel.exe
# (the link map, Quorvel.map, beside it)
set -euo pipefail
exe=${1:-build/windows/Quorvel.exe}
source "$(dirname "$0")/machine.sh"
exe_architecture "$exe" || { echo "FAIL: $exe is not a Windows program of ours"; exit 1; }
tools=x86_64-w64-mingw32
[ "$bits" = 64 ] || tools=i686-w64-mingw32
echo "ok: $bits-bit ($format)"
headers=$($tools-objdump -p "$exe")
sections=$($tools-objdump -h "$exe")
resources=$($tools-windres -i "$exe" -J coff -O rc)
text=$(strings -a "$exe")
fail=0
check() {  # check <what> <pattern> <text>
  if grep -q -- "$2" <<<"$3"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi
}
check "GUI subsystem" "(Windows GUI)" "$headers"
check "ASLR: dynamic base" "DYNAMIC_BASE" "$headers"
check "DEP: NX compatible" "NX_COMPAT" "$headers"
if [ "$bits" = 64 ]; then
  check "ASLR: high-entropy addresses" "HIGH_ENTROPY_VA" "$headers"
else
  check "no SEH handlers (NO_SEH)" "NO_SEH" "$headers"
fi
# The link's cross reference: the program's own code calls the stack protector's failure path.
crossref=$(awk '/^Cross Reference Table/ { table = 1 }
  table && /^[^ ]/ { symbol = ($1 ~ /^_*__stack_chk_fail$/) } table && symbol' "${exe%.exe}.map")
check "stack protector in the program's code" "lib\(window\|cipher\)\.a" "$crossref"
check "relocations to move the image by" " \.reloc " "$sections"
check "no time stamp" "Time/Date.*1970" "$headers"

# Windows loads what the exe imports before its first instruction, looking in the exe's own
# folder first, except for its "known DLLs" (Windows 7 to 11), which always come from System32.
# The exe imports these four and no more; anything else it looks up at run time from System32.
allowed_dlls="^(gdi32|kernel32|msvcrt|user32)\.dll$"
while read -r dll; do
  if grep -qiE "$allowed_dlls" <<<"$dll"; then
    echo "ok: imports $dll"
  else
    echo "FAIL: imports $dll, which is not one of gdi32, kernel32, msvcrt and user32: a $dll" \
      "beside the exe could be loaded instead"
    fail=1
  fi
done < <(grep "DLL Name:" <<<"$headers" | awk '{print $3}')

check "icon" "RT_GROUP_ICON" "$resources"
check "manifest" "RT_MANIFEST" "$resources"
check "manifest for $manifest_arch" "processorArchitecture=\"$manifest_arch\"" "$text"
# Without it Windows takes a 32-bit exe for a legacy program: file and registry virtualisation,
# and installer detection asking for elevation.
check "runs as the invoker" "requestedExecutionLevel level=\"asInvoker\"" "$text"

size=$(stat -c %s "$exe")
if [ "$size" -le $((limit_kib * 1024)) ]; then
  echo "ok: $size bytes, at most $limit_kib KiB"
else
  echo "FAIL: $size bytes, more than $limit_kib KiB"
  fail=1
fi
exit $fail
