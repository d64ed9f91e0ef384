#!/usr/bin/env bash
# Makes the release from the commit checked out: both exes built afresh and tested under Wine,
# and the page in Chromium, then, by scripts/package.sh, dist/Quorvel-<version>-win64 and -win32,
# each a .zip for teachers and an .msi for a school's IT, dist/Quorvel-<version>.html for the
# browser, and dist/SHA256SUMS. Unsigned, a second run gives the same sums.
# With the signing variables (scripts/signing.sh) the exes and MSIs are signed with Authenticode
# and SHA256SUMS with GnuPG (dist/SHA256SUMS.asc); bad signing input is refused before anything
# is built. Where 32-bit code runs neither natively nor through the emulator it refuses before
# building, and so where dist/ holds anything but an earlier release. It sets the checkout up
# first (scripts/setup.sh), after checking what it was given.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/signing.sh
signing_check
scripts/package.sh --check dist
scripts/setup.sh
source scripts/machine.sh
need_preset_here windows-x86 "no release is made here: a release is made only where both exes are tested; nothing was built or written"
if [ -n "$(git status --porcelain)" ]; then
  echo "FAIL: the tree has changes that are not committed; a release is made from a commit"
  exit 1
fi

# Exactly the exes that go into the packages are the ones tested; the release's own checks are
# the test command's.
rm -rf build/web build/windows build/windows-x86
for preset in web windows-x86 windows; do
  echo "== build and test $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" >/dev/null
  ctest --preset "$preset" -j "$(nproc)" -LE release
done
scripts/package.sh dist

echo "Release $(cat build/windows/version.txt) in dist/:"
ls -l dist
