#!/usr/bin/env bash
# Packs the exes built and tested in build/windows and build/windows-x86 into <folder>: for each
# architecture a zip (Quorvel.exe, README.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt) and an MSI
# installer; beside them the page of build/web as Quorvel-<version>.html, the build record
# BUILDINFO.txt, the bills of materials Quorvel-<version>.cdx.json (CycloneDX) and .spdx.json
# (SPDX), the download page index.html with its picture window.png, and SHA256SUMS. With the variables of scripts/signing.sh set, the exes (before they
# are packed) and the MSIs are signed with Authenticode, and SHA256SUMS with GnuPG.
# With QUORVEL_DOWNLOAD_URL, the address the files will be published at, it also writes the
# manifests of winget (winget/) and Scoop (scoop/) for those files.
# Unsigned, the same exes always give the same bytes: every date is the commit's, and an MSI's
# package code is a name-based UUID of what it holds.
# Usage: scripts/package.sh [--check] <folder>   (--check: only whether the folder may take it)
# The folder must be new, empty or hold an earlier release of this script's, which is replaced;
# any other is refused before anything is written. The release is made aside and only put into
# the folder once whole, so a failure leaves the folder as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
check_only=no
if [ "${1:-}" = --check ]; then
  check_only=yes
  shift
fi
target=$(realpath -m "$1")

# The names at the top of a release; a folder holding anything else is somebody's.
release_entry() {
  case "$1" in
    Quorvel-* | BUILDINFO.txt | index.html | window.png | SHA256SUMS | SHA256SUMS.asc | winget | scoop) ;;
    *) return 1 ;;
  esac
}
if [ -e "$target" ] && [ ! -d "$target" ]; then
  echo "FAIL: $1 is a file, not a folder; nothing was written" >&2
  exit 1
fi
if [ -d "$target" ] && [ -n "$(ls -A "$target")" ]; then
  foreign=""
  for entry in "$target"/* "$target"/.[!.]* "$target"/..?*; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    release_entry "${entry##*/}" || { foreign=${entry##*/}; break; }
  done
  if [ -n "$foreign" ] || [ ! -f "$target/SHA256SUMS" ]; then
    echo "FAIL: $1 is not empty and holds no release of this script's (${foreign:-no SHA256SUMS}" \
      "in it); a release goes into a new or an empty folder, and nothing was written" >&2
    exit 1
  fi
fi
[ "$check_only" = no ] || exit 0

source scripts/machine.sh
source scripts/signing.sh
signing_check
export PYTHONDONTWRITEBYTECODE=1  # no __pycache__ beside the sources
python=/usr/bin/python3  # Debian's, whatever else is first on PATH: the build record names it

# Fixed for good: the namespace of the name-based UUIDs of this project's packages.
namespace=77770C5B-0708-4430-B6FE-E0C47B7D86CF
name_uuid() {
  $python -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$namespace" "$1"
}
# UTF-8 with a byte-order mark and CR LF line ends: Notepad on Windows 7 shows it right.
windows_text() { { printf '\xEF\xBB\xBF'; cat; } | sed 's/\r*$/\r/'; }

version=$(cat build/windows/version.txt)
epoch=$(git log -1 --format=%ct)
frozen=$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
at_commit_time=(env NO_FAKE_STAT=1 TZ=UTC faketime -f "$frozen")
subject=""
if signing_enabled; then
  subject=$(signing_subject)
fi
signer=$(sed 's/[\\&|]/\\&/g' <<<"$subject")  # as a sed replacement

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
  if [ -n "$signer" ]; then
    sed -e '/^@UNSIGNED@/d' -e 's/^@SIGNED@//' -e "s|@SIGNER@|$signer|g"
  else
    sed -e '/^@SIGNED@/d' -e 's/^@UNSIGNED@//'
  fi <release/README.txt | sed "s/@VERSION@/$version/g" | windows_text >"$stage/README.txt"
  windows_text <LICENSE >"$stage/LICENSE.txt"
  $python release/third_party_notices.py "build/$preset/Quorvel.map" "$version" \
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
    -o "$name.msi" "$root/release/quorvel.wxs" &&
    "${at_commit_time[@]}" msibuild "$name.msi" -s "Quorvel $version" \
      "Quorvel developers" "$template" "{$package}")
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
manifests=()
if [ -n "$url" ]; then
  $python release/manifests.py "$dist" "$version" "$url" "$epoch"
  mapfile -t manifests < <(cd "$dist" && find winget scoop -type f | LC_ALL=C sort)
fi

# The page for those who download it, from the same files and facts.
cp docs/window.png "$dist/window.png"
gpg=()
if gpg_enabled; then gpg=(--gpg); fi
$python release/download_page.py "$dist" "$version" "$(git rev-parse HEAD)" "$epoch" \
  ${subject:+--signer "$subject"} ${url:+--url "$url"} "${gpg[@]}" >"$dist/index.html"

(cd "$dist" && sha256sum Quorvel-"$version"-win{64,32}.{zip,msi} Quorvel-"$version".html \
  Quorvel-"$version".{cdx,spdx}.json BUILDINFO.txt index.html \
  window.png "${manifests[@]}" >SHA256SUMS &&
  sha256sum -c --quiet SHA256SUMS)
if gpg_enabled; then
  gpg_sign "$dist/SHA256SUMS"
fi

# Whole: now the earlier release, if any, makes room for it.
mkdir -p "$target"
for entry in "$target"/*; do
  if [ -e "$entry" ] && release_entry "${entry##*/}"; then rm -rf "$entry"; fi
done
cp -R "$dist"/. "$target"/
