#!/usr/bin/env bash
# Tests the release around the exes built and tested in build/windows and build/windows-x86:
# the notices against the link maps, unsigned packages that come out the same twice (the second
# time beside processes that keep every core busy), a signed release with a throwaway CA,
# code-signing certificate and GnuPG key, the download pages of both checked against their files
# and one opened in headless Chromium, bad signing input refused by scripts/release.sh before it
# builds, and each signed MSI installed silently under Wine, its program started and closed, then
# removed with nothing left.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/wine-env.sh
wine_deps xvfb xauth
scripts/deps.sh openssl gnupg osslsigncode faketime unzip python3 chromium chromium-driver
export PYTHONDONTWRITEBYTECODE=1  # no __pycache__ beside the sources
tmp=$(mktemp -d /tmp/quorvel-release-test.XXXXXX)
export GNUPGHOME=$tmp/gnupg
busy=()
cleanup() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true
  wine_stop
  gpgconf --kill gpg-agent 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

passed=0
skipped=0
fail() {
  echo "FAIL: $*"
  exit 1
}
ok() {
  echo "ok: $*"
  passed=$((passed + 1))
}
version=$(cat build/windows/version.txt)

echo "== third-party notices from the link maps"
for preset in windows windows-x86; do
  listed=$(/usr/bin/python3 release/third_party_notices.py "build/$preset/Quorvel.map" "$version" test |
    sed -n 's/^- \([^:]*\):.*/\1/p' | paste -sd,)
  [ "$listed" = "MinGW-w64 runtime,winpthreads,libgcc,libstdc++" ] ||
    fail "build/$preset: the notices name $listed"
  ok "build/$preset: the notices name every component in the link map"
  # A library the link took code from but that has no notice stops the release.
  sed 's|^Archive member included.*|&\n\n/usr/lib/zlib/libz.a(adler32.o)\n        x (adler32)|' \
    "build/$preset/Quorvel.map" >"$tmp/extra.map"
  if message=$(/usr/bin/python3 release/third_party_notices.py "$tmp/extra.map" "$version" test 2>&1); then
    fail "build/$preset: a map with libz.a in it passed"
  fi
  grep -q "libz.a is linked into the exe but has no notice" <<<"$message" ||
    fail "build/$preset: libz.a refused with: $message"
  ok "build/$preset: a library without a notice is refused"
done

echo "== unsigned packages, twice, the second time on a busy machine"
scripts/package.sh "$tmp/dist-a"
for _ in $(seq $(($(nproc) * 3))); do
  (while :; do :; done) &
  busy+=($!)
done
scripts/package.sh "$tmp/dist-b"
kill "${busy[@]}"
busy=()
diff "$tmp/dist-a/SHA256SUMS" "$tmp/dist-b/SHA256SUMS" || fail "two packagings differ"
ok "two packagings, one of them beside $(($(nproc) * 3)) busy processes, give the same SHA256SUMS:" \
  "$(paste -sd' ' <(cut -c1-12 "$tmp/dist-a/SHA256SUMS"))"
# The record names the exact compilers that built the exes, the emulator that ran the 32-bit
# ones if any, and the Debian release, and the sums cover it.
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix)
if ! runs_32bit; then
  x86_tested="not run here"
elif [ -n "$QUORVEL_32BIT_EMULATOR" ]; then
  packages+=(qemu-user)
  x86_tested="under the emulator $QUORVEL_32BIT_EMULATOR"
else
  x86_tested=natively
fi
for package in "${packages[@]}"; do
  installed=$(dpkg-query -W -f='${Version}' "$package")
  recorded=$(awk -v p="$package" '$1 == p { print $2 }' "$tmp/dist-a/BUILDINFO.txt")
  [ "$recorded" = "$installed" ] ||
    fail "BUILDINFO.txt names $package ${recorded:-not at all}, but $installed is installed"
done
grep -q "^ *windows-x86: $x86_tested" "$tmp/dist-a/BUILDINFO.txt" ||
  fail "BUILDINFO.txt does not say the 32-bit tests ran $x86_tested"
grep -q "^built on .*($(. /etc/os-release && echo "$VERSION_CODENAME"))" \
  "$tmp/dist-a/BUILDINFO.txt" || fail "BUILDINFO.txt does not name this Debian release"
grep -q " BUILDINFO.txt$" "$tmp/dist-a/SHA256SUMS" || fail "SHA256SUMS does not cover BUILDINFO.txt"
ok "BUILDINFO.txt names ${packages[*]} as installed, the 32-bit tests $x86_tested, and this" \
  "Debian release; SHA256SUMS covers it"
files=$(unzip -Z1 "$tmp/dist-a/Quorvel-$version-win32.zip" | paste -sd' ')
[ "$files" = "Quorvel.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt" ] ||
  fail "the zip holds $files"
readme=$(unzip -p "$tmp/dist-a/Quorvel-$version-win64.zip" README.txt)
grep -q "SmartScreen" <<<"$readme" && ! grep -q "@\|Digital Signatures" <<<"$readme" ||
  fail "the unsigned README.txt does not say it is unsigned"
ok "the zip holds the four files; its README.txt says the program is unsigned"

echo "== a signed release with a throwaway CA, certificate and GnuPG key"
(
  cd "$tmp"
  printf 'correct horse' >pass
  printf 'wrong horse' >wrong-pass
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 \
    -subj "/CN=Quorvel Test CA" -addext basicConstraints=critical,CA:TRUE 2>/dev/null
  # A code-signing certificate, one for web servers, and a code-signing one long expired.
  for cert in codeSigning:codeSigning:now serverAuth:serverAuth:now expired:codeSigning:2020-01-01; do
    IFS=: read -r name use when <<<"$cert"
    openssl req -newkey rsa:2048 -nodes -keyout "$name.key" -out "$name.csr" -utf8 \
      -subj "/CN=Quorvel Test Signer/O=Училище Тест" 2>/dev/null
    faketime "$when" openssl x509 -req -in "$name.csr" -CA ca.crt -CAkey ca.key -CAcreateserial \
      -days 2 -extfile <(echo "extendedKeyUsage=$use") -out "$name.crt" 2>/dev/null
    openssl pkcs12 -export -inkey "$name.key" -in "$name.crt" -certfile ca.crt \
      -passout file:pass -out "$name.p12"
  done
  mkdir -m 700 gnupg
  gpg --batch --passphrase '' --quick-gen-key "Quorvel Test <test@quorvel.invalid>" ed25519 \
    sign 1d 2>/dev/null
)
QUORVEL_SIGN_PKCS12=$tmp/codeSigning.p12 QUORVEL_SIGN_PASSWORD_FILE=$tmp/pass \
  QUORVEL_GPG_KEY=test@quorvel.invalid scripts/package.sh "$tmp/signed"
gpg --batch --verify "$tmp/signed/SHA256SUMS.asc" "$tmp/signed/SHA256SUMS" 2>/dev/null ||
  fail "gpg --verify SHA256SUMS.asc"
(cd "$tmp/signed" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c on the signed release"
ok "SHA256SUMS.asc verifies with gpg; the sums match the signed files"
for target in win64:windows win32:windows-x86; do
  name=Quorvel-$version-${target%%:*}
  unzip -p "$tmp/signed/$name.zip" Quorvel.exe >"$tmp/$name.exe"
  for file in "$tmp/$name.exe" "$tmp/signed/$name.msi"; do
    osslsigncode verify -CAfile "$tmp/ca.crt" -in "$file" >/dev/null 2>&1 ||
      fail "$(basename "$file"): the signature does not verify against the test CA"
  done
  osslsigncode remove-signature -in "$tmp/$name.exe" -out "$tmp/$name.stripped.exe" >/dev/null
  cmp "$tmp/$name.stripped.exe" "build/${target#*:}/Quorvel.exe" ||
    fail "$name: the signed exe without its signature is not the tested one"
  unzip -p "$tmp/signed/$name.zip" README.txt | grep -q "Quorvel Test Signer, Училище Тест" ||
    fail "$name: README.txt does not name the signer"
  ok "$name: exe and MSI signed and verified; the exe unsigned again is the tested one; README names the signer"
done

echo "== the download page"
for dist in dist-a signed; do
  /usr/bin/python3 tests/release/check_download_page.py "$tmp/$dist" || fail "$dist/index.html"
done
ok "both download pages are well-formed, link to their own files with their sizes and sums," \
  "load nothing from elsewhere, and serve screen readers"
/usr/bin/python3 tests/release/page_in_browser.py "$tmp/dist-a/index.html" build/download-page ||
  fail "the download page in Chromium"
ok "the download page in Chromium at 1280 and 390 px: no console error, everything loaded from" \
  "the release, no sideways scrolling (build/download-page-*.png)"

echo "== bad signing input is refused before anything is built"
dist_before=$(ls -l --full-time dist 2>&1 || true)
refused() {  # refused <expected message> <variable=value>...
  local message
  if message=$(env "${@:2}" scripts/release.sh 2>&1); then
    fail "release.sh with ${*:2} went on"
  fi
  grep -q -- "$1" <<<"$message" || fail "release.sh with ${*:2} said: $message"
  grep -q "== build" <<<"$message" && fail "release.sh with ${*:2} built before refusing"
  [ "$(ls -l --full-time dist 2>&1 || true)" = "$dist_before" ] ||
    fail "release.sh with ${*:2} changed dist/"
  ok "refused before building, dist/ untouched: $1"
}
refused "wrong password" QUORVEL_SIGN_PKCS12="$tmp/codeSigning.p12" \
  QUORVEL_SIGN_PASSWORD_FILE="$tmp/wrong-pass"
refused "not for code signing" QUORVEL_SIGN_PKCS12="$tmp/serverAuth.p12" \
  QUORVEL_SIGN_PASSWORD_FILE="$tmp/pass"
refused "expired on" QUORVEL_SIGN_PKCS12="$tmp/expired.p12" QUORVEL_SIGN_PASSWORD_FILE="$tmp/pass"
refused "cannot read the PKCS#12 file" QUORVEL_SIGN_PKCS12="$tmp/missing.p12" \
  QUORVEL_SIGN_PASSWORD_FILE="$tmp/pass"
refused "no secret key" QUORVEL_GPG_KEY=nobody@quorvel.invalid

echo "== without 32-bit code, the 32-bit exe and a release are refused at once"
touch "$tmp/mark"
for command in "scripts/run.sh windows-x86" "scripts/screenshot.sh --x86" scripts/release.sh; do
  if message=$(env -u QUORVEL_32BIT QUORVEL_NO_32BIT=1 timeout 20 $command 2>&1); then
    fail "$command with QUORVEL_NO_32BIT=1 went on"
  fi
  grep -q "QUORVEL_NO_32BIT=1 takes this machine as one that cannot execute 32-bit code" \
    <<<"$message" || fail "$command with QUORVEL_NO_32BIT=1 said: $message"
  written=$(find . -newer "$tmp/mark" -not -path './.git/*' | head -n 3)
  [ -z "$written" ] || fail "$command with QUORVEL_NO_32BIT=1 wrote $written"
  ok "$command refuses at once with QUORVEL_NO_32BIT=1, writing nothing"
done

echo "== the signed MSIs installed silently under Wine, run, and removed"
wine_start --xvfb
uninstall="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
quorvel_entries() {  # quorvel_entries <32|64>: the Add/Remove Programs entries of Quorvel
  wine reg query "$uninstall" /s /reg:"$1" 2>/dev/null | tr -d '\r' |
    awk 'BEGIN { RS = "" } /DisplayName +REG_SZ +Quorvel\n/'
}
# What an interrupted run left installed goes first.
for bits in 64 32; do
  for product in $(quorvel_entries "$bits" | grep -o '^HKEY.*\\{.*}$' | grep -o '{.*}'); do
    wine msiexec /x "$product" /qn || true
  done
done
for target in win64:windows:64:"Program Files" win32:windows-x86:32:"Program Files (x86)"; do
  IFS=: read -r suffix preset bits folder <<<"$target"
  name=Quorvel-$version-$suffix
  installed=$WINEPREFIX/drive_c/$folder/Quorvel
  wine msiexec /i "$(winepath -w "$tmp/signed/$name.msi")" /qn || fail "$name: msiexec /i"
  for file in Quorvel.exe LICENSE.txt THIRD-PARTY-NOTICES.txt; do
    unzip -p "$tmp/signed/$name.zip" "$file" | cmp - "$installed/$file" ||
      fail "$name: the installed $file is not the one in the zip"
  done
  entry=$(quorvel_entries "$bits" |
    sed -nE 's/^ +(DisplayVersion|Publisher|NoModify|NoRepair) +REG_[A-Z]+ +(.*)$/\1=\2/p' |
    sort | paste -sd';')
  [ "$entry" = "DisplayVersion=$version;NoModify=0x1;NoRepair=0x1;Publisher=Quorvel developers" ] ||
    fail "$name: Add/Remove Programs entry: $entry"
  wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
    grep -q "ProductIcon.*Quorvel.ico" || fail "$name: no product icon for Add/Remove Programs"
  shortcut=$(find "$WINEPREFIX/drive_c" -name Quorvel.lnk)
  [ -n "$shortcut" ] || fail "$name: no Start-menu shortcut"
  # Started as from the shortcut, one compute click, closed: it must end with exit code 0.
  if preset_runs_here "$preset"; then
    wine "build/$preset/launcher.exe" "C:\\$folder\\Quorvel\\Quorvel.exe" 1 >"$tmp/run.txt" 2>&1 ||
      fail "$name: the installed program did not start and close cleanly: $(cat "$tmp/run.txt")"
    ok "$name: the installed program started, computed and closed with exit code 0"
  else
    echo "skipped: $name: the installed program is not started: $(without_32bit)"
    skipped=$((skipped + 1))
  fi
  wine msiexec /x "$(winepath -w "$tmp/signed/$name.msi")" /qn || fail "$name: msiexec /x"
  [ ! -e "$installed" ] || fail "$name: $installed is left after removal"
  [ -z "$(find "$WINEPREFIX/drive_c" -name Quorvel.lnk)" ] || fail "$name: the shortcut is left"
  [ -z "$(quorvel_entries "$bits")" ] ||
    fail "$name: the Add/Remove Programs entry is left"
  ok "$name.msi: installed silently into $folder with shortcut and Add/Remove entry, removed leaving nothing"
done
wine_stop

echo "release checks: $passed passed, $skipped skipped" | tee build/release-test.log
