#!/usr/bin/env bash
# Makes the release from the commit checked out: both exes built afresh and tested under Wine,
# and the page in Chromium, then, by scripts/package.sh, dist/Quorvel-<version>-win64 and -win32,
# each a .zip for teachers and an .msi for a school's IT, dist/Quorvel-<version>.html for the
# browser, and dist/SHA256SUMS. Unsigned, a second run from the same commit gives the same sums.
# With the signing variables (scripts/signing.sh) the exes and MSIs are signed with Authenticode
# and SHA256SUMS with GnuPG (dist/SHA256SUMS.asc).
# A release is marked with the git tag v<version>. A version already released from another
# commit is refused, since its MSIs would carry the same product code as the ones installed; so
# are bad signing input, a dist/ that holds anything but an earlier release, and a CHANGELOG.md
# whose top section is not that version with a date: all before anything is built or set up.
# Usage: scripts/release.sh [--check]   (--check: stop once those inputs are checked)
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/signing.sh
refuse() { signing_refuse "$@" || exit 1; }
signing_check
scripts/package.sh --check dist
version=$(cmake -P cmake/product.cmake)
tag=v$version
if released=$(git rev-parse -q --verify "refs/tags/$tag^{commit}") &&
  [ "$released" != "$(git rev-parse HEAD)" ]; then
  refuse "$version was released from commit ${released:0:12} (tag $tag): raise the version" \
    "in release/product.env for a new release"
fi
grep -m 1 '^## ' CHANGELOG.md | grep -qE "^## \[$version\] - [0-9]{4}-[0-9]{2}-[0-9]{2}\$" ||
  refuse "CHANGELOG.md's top section must be \"## [$version] - <the release's date>\""
[ "${1:-}" != --check ] || exit 0

scripts/setup.sh
source scripts/machine.sh
need_preset_here windows-x86 "no release is made here: a release is made only where both exes are tested; nothing was built or written"
if [ -n "$(git status --porcelain)" ]; then
  refuse "the tree has changes that are not committed; a release is made from a commit"
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
git tag "$tag" 2>/dev/null || true  # made again from the same commit: the tag stands

echo "Release $version in dist/, tagged $tag:"
ls -l dist
