#!/usr/bin/env bash
# The release's checks, one CTest test each, around the exes in build/windows and
# build/windows-x86; their work is in build/windows/release-test/. "keys" and "packages" are
# fixtures: a throwaway CA, code-signing certificates and GnuPG key made with openssl and gpg,
# then releases made from both exes by scripts/package.sh: unsigned, unsigned with a download
# address (and so the package managers' manifests), and signed.
# Usage: tests/release/release_test.sh <check> [argument]
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/machine.sh
export PYTHONDONTWRITEBYTECODE=1  # no __pycache__ beside the sources
work=$PWD/build/windows/release-test
address=https://downloads.example.org/quorvel/1.00/
export GNUPGHOME=$work/keys/gnupg
version=$(cat build/windows/version.txt)
python=/usr/bin/python3
fail() {
  echo "FAIL: $*"
  exit 1
}
read_architecture "${2:-windows}" || true  # the architecture of a preset named
name=Quorvel-$version-$suffix

case "$1" in
  keys)
    rm -rf "$work/keys"
    mkdir -p "$work/keys"
    cd "$work/keys"
    printf 'correct horse' >pass
    printf 'wrong horse' >wrong-pass
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 \
      -subj "/CN=Quorvel Test CA" -addext basicConstraints=critical,CA:TRUE 2>/dev/null
    # A code-signing certificate, one for web servers, and a code-signing one long expired.
    for cert in codeSigning:codeSigning:now serverAuth:serverAuth:now expired:codeSigning:2020-01-01; do
      IFS=: read -r key use when <<<"$cert"
      openssl req -newkey rsa:2048 -nodes -keyout "$key.key" -out "$key.csr" -utf8 \
        -subj "/CN=Quorvel Test Signer/O=Училище Тест" 2>/dev/null
      faketime "$when" openssl x509 -req -in "$key.csr" -CA ca.crt -CAkey ca.key -CAcreateserial \
        -days 2 -extfile <(echo "extendedKeyUsage=$use") -out "$key.crt" 2>/dev/null
      openssl pkcs12 -export -inkey "$key.key" -in "$key.crt" -certfile ca.crt \
        -passout file:pass -out "$key.p12"
    done
    # As older Windows and OpenSSL 1 export it, in RC2-40 and 3DES.
    openssl pkcs12 -export -legacy -inkey codeSigning.key -in codeSigning.crt -certfile ca.crt \
      -passout file:pass -out legacy.p12
    mkdir -m 700 gnupg
    gpg --batch --passphrase '' --quick-gen-key "Quorvel Test <test@quorvel.invalid>" ed25519 \
      sign 1d 2>/dev/null
    gpgconf --kill gpg-agent
    ;;
  packages)
    (cmake --preset windows-x86 && cmake --build --preset windows-x86 --target Quorvel &&
      cmake --preset web && cmake --build --preset web) >/dev/null
    scripts/package.sh "$work/dist-a"
    QUORVEL_DOWNLOAD_URL=$address scripts/package.sh "$work/dist-url"
    QUORVEL_SIGN_PKCS12=$work/keys/codeSigning.p12 QUORVEL_SIGN_PASSWORD_FILE=$work/keys/pass \
      QUORVEL_GPG_KEY=test@quorvel.invalid scripts/package.sh "$work/signed"
    gpgconf --kill gpg-agent
    ;;
  notices)
    listed=$($python tools/third_party_notices.py "build/$preset/Quorvel.map" "$version" test |
      sed -n 's/^- \([^:]*\):.*/\1/p' | paste -sd,)
    [ "$listed" = "MinGW-w64 runtime,winpthreads,libgcc,libstdc++" ] ||
      fail "build/$preset: the notices name $listed"
    ;;
  unnoticed)  # a library the link took code from but that has no notice stops the release
    map=$(mktemp)
    trap 'rm -f "$map"' EXIT
    sed 's|^Archive member included.*|&\n\n/usr/lib/zlib/libz.a(adler32.o)\n        x (adler32)|' \
      "build/$preset/Quorvel.map" >"$map"
    if message=$($python tools/third_party_notices.py "$map" "$version" test 2>&1); then
      fail "build/$preset: a map with libz.a in it passed"
    fi
    grep -q "libz.a is linked into Quorvel.exe but has no notice" <<<"$message" ||
      fail "build/$preset: libz.a refused with: $message"
    ;;
  same-twice)  # the second time beside processes that keep every core busy
    busy=()
    trap '[ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true' EXIT
    for _ in $(seq $(($(nproc) * 3))); do
      (while :; do :; done) &
      busy+=($!)
    done
    QUORVEL_DOWNLOAD_URL=$address scripts/package.sh "$work/dist-b"
    diff "$work/dist-url/SHA256SUMS" "$work/dist-b/SHA256SUMS" || fail "two packagings differ"
    ;;
  without-address)  # today's files, no more
    files=$(cd "$work/dist-a" && find . -type f | LC_ALL=C sort | paste -sd' ')
    [ "$files" = "./BUILDINFO.txt ./Quorvel-$version-win32.msi ./Quorvel-$version-win32.zip ./Quorvel-$version-win64.msi ./Quorvel-$version-win64.zip ./Quorvel-$version.cdx.json ./Quorvel-$version.html ./Quorvel-$version.spdx.json ./SHA256SUMS ./index.html ./window.png" ] ||
      fail "without an address the release holds $files"
    ! grep -qi "winget\|scoop" "$work/dist-a/index.html" || fail "the page names package managers"
    ;;
  manifests)  # read back and checked against the files; covered by the sums, named on the page
    released=$(TZ=UTC date -d "@$(git log -1 --format=%ct)" +%F)
    $python tests/release/check_manifests.py "$work/dist-url" "$address" "$released" ||
      fail "the manifests"
    for file in winget/manifests/q/Quorvel/Quorvel/$version/Quorvel.Quorvel.installer.yaml \
      scoop/quorvel.json; do
      grep -q " $file\$" "$work/dist-url/SHA256SUMS" || fail "SHA256SUMS does not cover $file"
      grep -q "href=\"$file\"" "$work/dist-url/index.html" || fail "the page does not name $file"
    done
    ;;
  build-record)  # the compilers as installed, how the 32-bit tests ran, the Debian release
    packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wasi-libc)
    if ! runs_32bit; then
      x86_tested="not run here"
    elif [ -n "$QUORVEL_32BIT_EMULATOR" ]; then
      [ ! -e "$QUORVEL_32BIT_EMULATOR" ] || packages+=(qemu-user)
      x86_tested="under the emulator $QUORVEL_32BIT_EMULATOR"
    else
      x86_tested=natively
    fi
    for package in "${packages[@]}"; do
      installed=$(dpkg-query -W -f='${Version}' "$package")
      recorded=$(awk -v p="$package" '$1 == p { print $2 }' "$work/dist-a/BUILDINFO.txt")
      [ "$recorded" = "$installed" ] ||
        fail "BUILDINFO.txt names $package ${recorded:-not at all}, but $installed is installed"
    done
    grep -q "^ *windows-x86: $x86_tested" "$work/dist-a/BUILDINFO.txt" ||
      fail "BUILDINFO.txt does not say the 32-bit tests ran $x86_tested"
    grep -q "^built on .*($(. /etc/os-release && echo "$VERSION_CODENAME"))" \
      "$work/dist-a/BUILDINFO.txt" || fail "BUILDINFO.txt does not name this Debian release"
    grep -q " BUILDINFO.txt$" "$work/dist-a/SHA256SUMS" || fail "SHA256SUMS does not cover BUILDINFO.txt"
    ;;
  boms)  # valid by the official schemas; read back against dpkg and the files; covered, named
    for dist in dist-a signed; do
      $python tests/release/check_boms.py "$work/$dist" "$version" || fail "$dist: the bills of materials"
      for file in Quorvel-$version.cdx.json Quorvel-$version.spdx.json; do
        grep -q " $file\$" "$work/$dist/SHA256SUMS" || fail "SHA256SUMS does not cover $file"
        grep -q "href=\"$file\"" "$work/$dist/index.html" || fail "the page does not name $file"
      done
    done
    ;;
  zip)  # the four files; an unsigned README.txt says so
    files=$(unzip -Z1 "$work/dist-a/Quorvel-$version-win32.zip" | paste -sd' ')
    [ "$files" = "Quorvel.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt" ] ||
      fail "the zip holds $files"
    readme=$(unzip -p "$work/dist-a/Quorvel-$version-win64.zip" README.txt)
    grep -q "SmartScreen" <<<"$readme" && ! grep -q "@\|Digital Signatures" <<<"$readme" ||
      fail "the unsigned README.txt does not say it is unsigned"
    ;;
  sums-signed)
    gpg --batch --verify "$work/signed/SHA256SUMS.asc" "$work/signed/SHA256SUMS" 2>/dev/null ||
      fail "gpg --verify SHA256SUMS.asc"
    (cd "$work/signed" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c on the signed release"
    ;;
  signed)  # exe and MSI verify against the test CA; the exe unsigned again is the tested one
    exe=$(mktemp)
    trap 'rm -f "$exe" "$exe.stripped"' EXIT
    unzip -p "$work/signed/$name.zip" Quorvel.exe >"$exe"
    for file in "$exe" "$work/signed/$name.msi"; do
      osslsigncode verify -CAfile "$work/keys/ca.crt" -in "$file" >/dev/null 2>&1 ||
        fail "$name: $(basename "$file"): the signature does not verify against the test CA"
    done
    osslsigncode remove-signature -in "$exe" -out "$exe.stripped" >/dev/null
    cmp "$exe.stripped" "build/$preset/Quorvel.exe" ||
      fail "$name: the signed exe without its signature is not the tested one"
    unzip -p "$work/signed/$name.zip" README.txt | grep -q "Quorvel Test Signer, Училище Тест" ||
      fail "$name: README.txt does not name the signer"
    ;;
  page)  # well-formed, its own files with their sizes and sums, nothing from elsewhere
    for dist in dist-a dist-url signed; do
      $python tests/release/check_download_page.py "$work/$dist" || fail "$dist/index.html"
    done
    ;;
  page-in-browser)  # at 1280 and 390 px: no console error or sideways scroll, nothing from
    # elsewhere, nothing axe-core finds, every text at 4.5:1 against what lies behind it
    $python tests/release/page_in_browser.py "$work/dist-url/index.html" build/download-page ||
      fail "the download page in Chromium"
    ;;
  legacy)  # a PKCS#12 file in the older encryption is checked, named and signed with
    exe=$(mktemp)
    trap 'rm -f "$exe"' EXIT
    cp "build/$preset/Quorvel.exe" "$exe"
    (QUORVEL_SIGN_PKCS12=$work/keys/legacy.p12 QUORVEL_SIGN_PASSWORD_FILE=$work/keys/pass
      source scripts/signing.sh
      signing_check && [ "$(signing_subject)" = "Quorvel Test Signer, Училище Тест" ] &&
        sign_file "$exe") || fail "the legacy PKCS#12 file was not taken"
    osslsigncode verify -CAfile "$work/keys/ca.crt" -in "$exe" >/dev/null 2>&1 ||
      fail "the exe signed with the legacy PKCS#12 file does not verify"
    ;;
  version-once)  # a version released from another commit is refused; the same commit is not
    repo=$(mktemp -d)
    trap 'rm -rf "$repo"' EXIT
    cp -R scripts cmake release CHANGELOG.md "$repo"
    cd "$repo"
    export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@quorvel.invalid
    export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@quorvel.invalid
    sed -i "0,/^## .*/s//## [$version] - 2026-12-01/" CHANGELOG.md
    git init -q && git add -A && git commit -qm released && git tag "v$version"
    scripts/release.sh --check || fail "the released commit itself was refused"
    git commit -q --allow-empty -m next
    start=$SECONDS
    if message=$(scripts/release.sh 2>&1); then fail "$version was released again"; fi
    grep -q "$version was released from commit .* (tag v$version): raise the version" \
      <<<"$message" || fail "a second $version refused with: $message"
    [ ! -e build ] && [ ! -e dist ] && [ $((SECONDS - start)) -lt 10 ] ||
      fail "the second $version was refused only after $((SECONDS - start)) s or a build"
    sed -i "0,/^## .*/s//## [$version] - not released yet/" CHANGELOG.md
    git tag -d "v$version" >/dev/null
    if message=$(scripts/release.sh --check 2>&1); then fail "an undated CHANGELOG.md passed"; fi
    grep -q "CHANGELOG.md's top section must be \"## \[$version\] - <the release's date>\"" \
      <<<"$message" || fail "an undated CHANGELOG.md refused with: $message"
    ;;
  refused)  # bad signing input: refused before anything is built, dist/ untouched
    dist_before=$(ls -l --full-time dist 2>&1 || true)
    keys=$work/keys
    case "$2" in
      password) expected="wrong password" settings=(QUORVEL_SIGN_PKCS12="$keys/codeSigning.p12"
        QUORVEL_SIGN_PASSWORD_FILE="$keys/wrong-pass") ;;
      use) expected="not for code signing" settings=(QUORVEL_SIGN_PKCS12="$keys/serverAuth.p12"
        QUORVEL_SIGN_PASSWORD_FILE="$keys/pass") ;;
      expired) expected="expired on" settings=(QUORVEL_SIGN_PKCS12="$keys/expired.p12"
        QUORVEL_SIGN_PASSWORD_FILE="$keys/pass") ;;
      missing) expected="cannot read the PKCS#12 file" settings=(
        QUORVEL_SIGN_PKCS12="$keys/missing.p12" QUORVEL_SIGN_PASSWORD_FILE="$keys/pass") ;;
      gpg) expected="no secret key" settings=(QUORVEL_GPG_KEY=nobody@quorvel.invalid) ;;
      not-pkcs12) expected="is not a PKCS#12 file that OpenSSL can read" settings=(
        QUORVEL_SIGN_PKCS12="$keys/pass" QUORVEL_SIGN_PASSWORD_FILE="$keys/pass") ;;
      http) expected="must be an https:// address" settings=(
        QUORVEL_DOWNLOAD_URL=http://downloads.example.org/quorvel/1.00/) ;;
    esac
    if message=$(env "${settings[@]}" scripts/release.sh --check 2>&1); then
      fail "release.sh with ${settings[*]} went on"
    fi
    grep -q -- "$expected" <<<"$message" || fail "release.sh with ${settings[*]} said: $message"
    [ "$(ls -l --full-time dist 2>&1 || true)" = "$dist_before" ] ||
      fail "release.sh with ${settings[*]} changed dist/"
    ;;
  without-32bit)  # where the scripts refuse the 32-bit exe, and only that one
    if message=$(QUORVEL_NO_32BIT=1 bash -c 'source scripts/machine.sh && need_preset_here windows &&
      echo "64-bit: on" && need_preset_here windows-x86 && echo "32-bit: on"' 2>&1); then
      fail "the 32-bit exe with QUORVEL_NO_32BIT=1 was not refused: $message"
    fi
    [ "$message" = "64-bit: on
FAIL: QUORVEL_NO_32BIT=1 takes this machine as one that cannot execute 32-bit code, so the 32-bit exe cannot run here" ] ||
      fail "with QUORVEL_NO_32BIT=1: $message"
    ;;
  folder-kept)  # a release with a teacher's file beside it: refused before anything is written
    folder=$work/teachers
    rm -rf "$folder"
    cp -R "$work/dist-a" "$folder"
    echo "slides" >"$folder/Quorvel-slides.pptx"
    if message=$(scripts/package.sh "$folder" 2>&1); then
      fail "package.sh packed into a folder holding Quorvel-slides.pptx"
    fi
    grep -q "holds Quorvel-slides.pptx, which is not part of its release" <<<"$message" ||
      fail "package.sh refused the folder with: $message"
    [ "$(cat "$folder/Quorvel-slides.pptx")" = slides ] &&
      [ "$(diff -r "$work/dist-a" "$folder")" = "Only in $folder: Quorvel-slides.pptx" ] ||
      fail "the folder was changed"
    ;;
  failed-halfway)  # no room for the new release: the earlier one stays whole
    small=$work/small
    rm -rf "$small"
    mkdir -p "$small"
    # A file system of its own, a little larger than one release.
    mount -t tmpfs -o size=8m tmpfs "$small" 2>/dev/null ||
      { echo "skipped: a small file system cannot be mounted here"; exit 77; }
    trap 'umount -l "$small"' EXIT
    cp -R "$work/dist-a" "$small/dist"
    dd if=/dev/zero of="$small/filler" bs=64k 2>/dev/null || true
    if scripts/package.sh "$small/dist" >"$work/small.log" 2>&1; then
      fail "package.sh made a release where there was no room for it"
    fi
    grep -q "No space left on device" "$work/small.log" ||
      fail "the packaging failed otherwise: $(tail -n 3 "$work/small.log")"
    (cd "$small/dist" && sha256sum -c --quiet SHA256SUMS) &&
      cmp "$small/dist/SHA256SUMS" "$work/dist-a/SHA256SUMS" ||
      fail "the earlier release is not whole after a packaging without room"
    [ "$(ls -A "$small" | paste -sd' ')" = "dist filler" ] ||
      fail "the packaging left in the folder's file system: $(ls -A "$small" | paste -sd' ')"
    ;;
  msi-*)  # installed silently, its program started and closed, removed leaving nothing
    wine=scripts/wine.sh
    drive=$QUORVEL_ROOT/build/wineprefix/drive_c
    installed=$drive/$program_files/Quorvel
    uninstall="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
    entries() {  # the Add/Remove Programs entries of Quorvel in the 32- or 64-bit view
      $wine reg query "$uninstall" /s /reg:"${suffix#win}" 2>/dev/null | tr -d '\r' |
        awk 'BEGIN { RS = "" } /DisplayName +REG_SZ +Quorvel\n/'
    }
    msi=$($wine winepath -w "$work/signed/$name.msi")
    case "$1" in
      msi-install)
        # What an interrupted run left installed goes first.
        for product in $(entries | grep -o '^HKEY.*\\{.*}$' | grep -o '{.*}'); do
          $wine msiexec /x "$product" /qn || true
        done
        $wine msiexec /i "$msi" /qn || fail "$name: msiexec /i"
        ;;
      msi-installed)  # the zip's files, the Add/Remove entry with its icon, the shortcut
        for file in Quorvel.exe LICENSE.txt THIRD-PARTY-NOTICES.txt; do
          unzip -p "$work/signed/$name.zip" "$file" | cmp - "$installed/$file" ||
            fail "$name: the installed $file is not the one in the zip"
        done
        entry=$(entries |
          sed -nE 's/^ +(DisplayVersion|Publisher|NoModify|NoRepair) +REG_[A-Z]+ +(.*)$/\1=\2/p' |
          sort | paste -sd';')
        [ "$entry" = "DisplayVersion=$version;NoModify=0x1;NoRepair=0x1;Publisher=Quorvel developers" ] ||
          fail "$name: Add/Remove Programs entry: $entry"
        $wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
          grep -q "ProductIcon.*Quorvel.ico" || fail "$name: no product icon for Add/Remove Programs"
        [ -n "$(find "$drive" -name Quorvel.lnk)" ] || fail "$name: no Start-menu shortcut"
        ;;
      msi-start)  # as from the shortcut, one compute click, closed: exit code 0
        status=0
        QUORVEL_WINE_ALONE=1 $wine "build/$preset/launcher.exe" \
          "C:\\$program_files\\Quorvel\\Quorvel.exe" 1 || status=$?
        [ "$status" != 77 ] || exit 77
        [ "$status" = 0 ] || fail "$name: the installed program did not start and close cleanly"
        ;;
      msi-remove)
        $wine msiexec /x "$msi" /qn || fail "$name: msiexec /x"
        [ ! -e "$installed" ] || fail "$name: $installed is left after removal"
        [ -z "$(find "$drive" -name Quorvel.lnk)" ] || fail "$name: the shortcut is left"
        [ -z "$(entries)" ] || fail "$name: the Add/Remove Programs entry is left"
        ;;
    esac
    ;;
  *)
    echo "usage: tests/release/release_test.sh <check> [argument]" >&2
    exit 2
    ;;
esac
echo "ok: $*"
