#!/usr/bin/env bash
# Makes what a teacher downloads, from the commit checked out: both exes built afresh and
# tested under Wine, then dist/Quorvel-<version>-win64.zip and -win32.zip, each with
# Quorvel.exe, README.txt and LICENSE.txt, and dist/SHA256SUMS. The archives are dated from the
# commit and list their files in a fixed order, so a second run gives the same sums.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "$(git status --porcelain)" ]; then
  echo "FAIL: the tree has changes that are not committed; a release is made from a commit"
  exit 1
fi
scripts/deps.sh zip

# Exactly the exes that go into the archives are the ones tested.
rm -rf build/windows build/windows-x86 build/release dist
scripts/test-windows.sh windows windows-x86

version=$(cat build/windows/version.txt)
epoch=$(git log -1 --format=%ct)
mkdir -p dist
crlf() { sed 's/\r*$/\r/'; }
for target in win64:windows win32:windows-x86; do
  name=Quorvel-$version-${target%%:*}
  preset=${target#*:}
  stage=build/release/$name
  mkdir -p "$stage"
  cp "build/$preset/Quorvel.exe" "$stage/Quorvel.exe"
  # UTF-8 with a byte-order mark and CR LF line ends: Notepad on Windows 7 shows it right.
  { printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/g" release/README.txt; } | crlf \
    >"$stage/README.txt"
  crlf <LICENSE >"$stage/LICENSE.txt"
  chmod 644 "$stage"/*
  touch -d "@$epoch" "$stage"/*
  (cd "$stage" && TZ=UTC zip -q -X -9 "../../../dist/$name.zip" Quorvel.exe README.txt LICENSE.txt)
  unzip -p "dist/$name.zip" Quorvel.exe | cmp - "build/$preset/Quorvel.exe"
done
(cd dist && sha256sum Quorvel-"$version"-win64.zip Quorvel-"$version"-win32.zip >SHA256SUMS &&
  sha256sum -c SHA256SUMS)
echo "Release $version in dist/:"
ls -l dist
