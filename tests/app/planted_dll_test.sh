#!/usr/bin/env bash
# A DLL planted beside the program, as in a download folder: a stub that leaves a marker when
# loaded, under every name that the program or the system DLLs it uses could load by name, and
# Wine told to prefer such a DLL to its own. The program must open, compute and close with exit
# code 0, and load none of them. Not planted: version and imm32, which Wine's own user32 loads
# before the program's first instruction (on Windows imm32 is a known DLL, and user32 does not
# load version.dll).
# Usage: planted_dll_test.sh <Quorvel.exe> <planted.dll> <launcher.exe> <folder>  (made anew)
set -euo pipefail
exe=$1 stub=$2 launcher=$3 folder=$4
names=(uxtheme dwmapi msimg32 cryptbase cryptsp bcrypt oleacc msctf userenv profapi
  sspicli apphelp propsys setupapi clbcatq ntmarta)

rm -rf "$folder"
mkdir -p "$folder"
cp "$exe" "$folder/Quorvel.exe"
for name in "${names[@]}"; do
  cp "$stub" "$folder/$name.dll"
done
overrides="$(IFS=,; echo "${names[*]}")=n,b"
windows_path=$(realpath "$folder/Quorvel.exe" | sed 's|/|\\|g')
status=0
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$overrides" \
  wine "$launcher" "Z:$windows_path" 1 || status=$?
loaded=$(cd "$folder" && find . -name '*.loaded' | sed 's|^\./||; s|\.loaded$||' | sort | paste -sd' ')
[ -z "$loaded" ] || echo "FAIL: loaded from beside the program: $loaded"
[ "$status" = 0 ] || echo "FAIL: the program did not open, compute and close normally"
[ -z "$loaded" ] && [ "$status" = 0 ] || exit 1
echo "ok: ${#names[@]} planted DLLs beside the program, none loaded"
