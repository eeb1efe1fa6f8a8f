#!/bin/bash
# Builds the release in a fresh folder of its own under /tmp, and packs startlagaren.exe,
# stlagc.exe, ReadMe.txt, LICENSE and the fleet scripts (Intune\*.ps1) into
# build/release/Startlagaren-<version>-win64.zip and Startlagaren-<version>-x64.msi, with SHA-256
# sums in build/release/SHA256SUMS (scripts/pack.sh, which also signs when given a certificate).
# Runs no tests. The same commit gives the same unsigned bytes in any folder on any day: neither
# the clock nor the checkout's path reaches the output.
set -euo pipefail
# A certificate named from where the caller stands, before the script moves to the checkout.
[ -z "${STLAG_SIGN_PFX:-}" ] || STLAG_SIGN_PFX=$(realpath -m -- "$STLAG_SIGN_PFX")
cd "$(dirname "$0")/.."
scripts/setup.sh
# make, CMake and windres each take only some characters in a path (no quote, bracket, &,
# backslash or ;, and a blank only where quoted), and CMake's own build steps ask the system
# for the folder they run in. So the build runs in a fresh folder under /tmp and sees the
# checkout through a link there, whatever the checkout's folder is called.
work=$(mktemp -d /tmp/startlagaren-release.XXXXXX)
trap 'rm -f "$work/src"; rm -rf "$work"' EXIT
ln -s "$PWD" "$work/src"
src=$work/src
bld=$work/windows
out=$PWD/build/release

# Every time stamp is the last commit's, so a rebuild of the same commit agrees.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
dirty=$(git status --porcelain --untracked-files=no 2>/dev/null)
warn_dirty() {
  [ -z "$dirty" ] || echo "release.sh: uncommitted changes are built too; nobody can rebuild this release from a commit" >&2
}
warn_dirty

# __FILE__ and any debug paths name the folders relatively; both paths are plain names of
# mktemp's making. CMake is told the link as the source: asked for the current folder, the
# system names the one the link points to.
maps="-ffile-prefix-map=$src=. -ffile-prefix-map=$bld=build"
cmake -S "$src" --preset windows -B "$bld" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="$maps" -DCMAKE_CXX_FLAGS="$maps" >/dev/null
cmake --build "$bld" -j "${STLAG_JOBS:-2}" --target startlagaren stlagc stlag_readme

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bld/CMakeCache.txt")
# The zip, the MSI and the sums; signed when STLAG_SIGN_PFX names a certificate.
scripts/pack.sh "$bld/app" "$version" "$out"
cat "$out/SHA256SUMS"
warn_dirty  # again where it is seen, after the build's output
