#!/usr/bin/env bash
# Packs the exes built and tested in build/windows and build/windows-x86 into <folder>: for each
# architecture a zip (Quorvel.exe, README.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt) and an MSI
# installer; beside them the page of build/web as Quorvel-<version>.html, the build record
# BUILDINFO.txt, the bills of materials Quorvel-<version>.cdx.json (CycloneDX) and .spdx.json
# (SPDX), the download page index.html with its picture window.png, and SHA256SUMS. With the
# variables of scripts/signing.sh set, the exes (before they are packed) and the MSIs are signed
# with Authenticode, and SHA256SUMS with GnuPG.
# With QUORVEL_DOWNLOAD_URL, the address the files will be published at, it also writes the
# manifests of winget (winget/) and Scoop (scoop/) for those files.
# Unsigned, the same exes always give the same bytes: every date is the commit's, and an MSI's
# package code is a name-based UUID of what it holds.
# Usage: scripts/package.sh [--check] <folder>   (--check: only whether the folder may take it)
# The folder must be new, empty or hold an earlier release, exactly the files its SHA256SUMS
# lists (and its signature); any other is refused before anything is written, and so is a mount
# point. The release is made aside, on the folder's own file system, and then swapped with the
# folder in one rename: a reader sees the earlier release or the new one, and a failure before
# that leaves the earlier one as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
check_only=no
if [ "${1:-}" = --check ]; then
  check_only=yes
  shift
fi
target=$(realpath -m "$1")

refuse() {
  echo "FAIL: $1 $2; nothing was written" >&2
  exit 1
}
# What is in <folder> besides the release its SHA256SUMS lists, one path a line.
not_listed() {
  comm -23 <(cd "$1" && find . -mindepth 1 \( ! -type d -o -empty \) | sed 's|^\./||' | LC_ALL=C sort) \
    <({ sed -E 's/^[0-9a-f]{64} [ *]//' "$1/SHA256SUMS"; printf '%s\n' SHA256SUMS SHA256SUMS.asc; } |
      LC_ALL=C sort)
}
if [ -e "$target" ] && [ ! -d "$target" ]; then
  refuse "$1" "is a file, not a folder"
elif [ -d "$target" ] && mountpoint -q "$target"; then
  refuse "$1" "is a mount point, which cannot be replaced in one step: name a folder inside it"
elif [ -d "$target" ] && [ -n "$(ls -A "$target")" ]; then
  [ -f "$target/SHA256SUMS" ] ||
    refuse "$1" "is not empty and holds no release (no SHA256SUMS in it)"
  foreign=$(not_listed "$target" | head -n 1)
  [ -z "$foreign" ] || refuse "$1" "holds $foreign, which is not part of its release"
fi
[ "$check_only" = no ] || exit 0

source scripts/machine.sh
source scripts/signing.sh
signing_check
export PYTHONDONTWRITEBYTECODE=1  # no __pycache__ beside the sources
python=/usr/bin/python3  # Debian's, whatever else is first on PATH: the build record names it

name_uuid() {
  $python -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$QUORVEL_UUID_NAMESPACE" "$1"
}
# UTF-8 with a byte-order mark and CR LF line ends: Notepad on Windows 7 shows it right.
windows_text() { { printf '\xEF\xBB\xBF'; cat; } | sed 's/\r*$/\r/'; }

version=$(cat build/windows/version.txt)
epoch=$(git log -1 --format=%ct)
frozen=$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
at_commit_time=(env NO_FAKE_STAT=1 TZ=UTC faketime -f "$frozen")
subject="" marks=(@SIGNED@=off @UNSIGNED@=on)
if signing_enabled; then
  subject=$(signing_subject) marks=(@SIGNED@=on @UNSIGNED@=off)
fi

work=$(mktemp -d /tmp/quorvel-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
dist=$work/dist
mkdir "$dist"
cp app/icon/quorvel.ico "$work/quorvel.ico"

for row in "${QUORVEL_ARCHITECTURES[@]}"; do
  read_architecture "$row"
  arch=$msi_arch template=$msi_template
  name=Quorvel-$version-$suffix
  stage=$work/$name
  mkdir -p "$stage"

  cp "build/$preset/Quorvel.exe" "$stage/Quorvel.exe"
  if signing_enabled; then
    sign_file "$stage/Quorvel.exe"
    check_signature_removable "$stage/Quorvel.exe" "build/$preset/Quorvel.exe"
  fi
  $python release/template.py release/README.txt "${marks[@]}" @SIGNER@="$subject" \
    @VERSION@="$version" | windows_text >"$stage/README.txt"
  windows_text <LICENSE >"$stage/LICENSE.txt"
  $python tools/third_party_notices.py "build/$preset/Quorvel.map" "$version" \
    "${suffix#win}-bit" | windows_text >"$stage/THIRD-PARTY-NOTICES.txt"
  chmod 644 "$stage"/*
  touch -d "@$epoch" "$stage"/*

  (cd "$stage" && TZ=UTC zip -q -X -9 "$dist/$name.zip" \
    Quorvel.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
  unzip -p "$dist/$name.zip" Quorvel.exe | cmp - "$stage/Quorvel.exe"

  # A new version gets a new product code, as a major upgrade wants. wixl stamps the time it
  # runs at and a random package code: it runs on a clock stopped at the commit's time (one
  # that ran on from it would stamp a later second on a busy machine), and the package code is
  # set afterwards from the package's content. The cabinet takes the files' own times, which
  # are the commit's; newer faketime would shift them too, unless told not to.
  product=$(name_uuid "Quorvel $version $arch")
  content=$(cd "$work" && cat "$name/Quorvel.exe" "$name/LICENSE.txt" \
    "$name/THIRD-PARTY-NOTICES.txt" quorvel.ico "$root/release/quorvel.wxs" | sha256sum)
  package=$(name_uuid "Quorvel $version $arch ${content%% *}")
  (cd "$work" && "${at_commit_time[@]}" wixl -a "$arch" -D Arch="$arch" \
    -D Version="$version" -D ProductCode="$product" -D Stage="$name" -D Icon=quorvel.ico \
    -D Publisher="$QUORVEL_PUBLISHER" \
    -o "$name.msi" "$root/release/quorvel.wxs" &&
    "${at_commit_time[@]}" msibuild "$name.msi" -s "Quorvel $version" \
      "$QUORVEL_PUBLISHER" "$template" "{$package}")
  if signing_enabled; then
    sign_file "$work/$name.msi"
  fi
  cp "$work/$name.msi" "$dist/$name.msi"
done

cp build/web/Quorvel.html "$dist/Quorvel-$version.html"
touch -d "@$epoch" "$dist/Quorvel-$version.html"

# How the release was made, read from dpkg, for anyone who makes it again.
signed_by=()
if signing_enabled; then signed_by+=(osslsigncode); fi
if gpg_enabled; then signed_by+=(gpg); fi
$python release/build_info.py "$version" "$(git rev-parse HEAD)" "$epoch" build/windows \
  build/windows-x86 build/web ${signed_by[@]:+--signed-by "${signed_by[@]}"} >"$dist/BUILDINFO.txt"

# The bills of materials, for a school's IT and its scanners, from the same link maps and dpkg.
builds=()
for row in "${QUORVEL_ARCHITECTURES[@]}"; do
  read_architecture "$row"
  builds+=("$suffix=build/$preset")
done
$python release/bill_of_materials.py "$dist" "$version" "$(git rev-parse HEAD)" "$epoch" \
  "${builds[@]}" html=build/web

url=${QUORVEL_DOWNLOAD_URL:-}
if [ -n "$url" ]; then
  $python release/manifests.py "$dist" "$version" "$url" "$epoch"
fi

# The page for those who download it, from the same files and facts.
cp docs/window.png "$dist/window.png"
gpg=()
if gpg_enabled; then gpg=(--gpg); fi
$python release/download_page.py "$dist" "$version" "$(git rev-parse HEAD)" "$epoch" \
  ${subject:+--signer "$subject"} ${url:+--url "$url"} "${gpg[@]}" >"$dist/index.html"

# Every file made, in one order.
(cd "$dist" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum \
  >"$work/SHA256SUMS" && mv "$work/SHA256SUMS" . && sha256sum -c --quiet SHA256SUMS)
if gpg_enabled; then
  gpg_sign "$dist/SHA256SUMS"
fi

# Whole: copied beside the folder, onto its file system, and swapped with it in one rename
# (renameat2 with RENAME_EXCHANGE); then the earlier release goes.
staging=$(dirname "$target")/.$(basename "$target").new.$$
trap 'rm -rf "$work" "$staging"' EXIT
mkdir "$staging"
cp -R "$dist"/. "$staging"/
if [ -d "$target" ]; then
  chmod --reference="$target" "$staging"
  $python -c 'import ctypes, os, sys
if ctypes.CDLL(None, use_errno=True).renameat2(-100, sys.argv[1].encode(), -100,
                                               sys.argv[2].encode(), 2):
    sys.exit(f"FAIL: {sys.argv[2]} could not be replaced: {os.strerror(ctypes.get_errno())}")' \
    "$staging" "$target"
else
  mv -T "$staging" "$target"
fi
