#!/bin/bash
# Builds the release in a fresh folder of its own under /tmp and packs startlagaren.exe,
# stlagc.exe, ReadMe.txt and LICENSE into build/release/Startlagaren-<version>-win64.zip,
# with SHA-256 sums in build/release/SHA256SUMS. Runs no tests. The same commit gives the same bytes in
# any folder on any day: neither the clock nor the checkout's path reaches the output.
set -euo pipefail
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
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "release.sh: uncommitted changes are built too; nobody can rebuild this zip from a commit" >&2
fi

rm -rf "$out"
# __FILE__ and any debug paths name the folders relatively; both paths are plain names of
# mktemp's making. CMake is told the link as the source: asked for the current folder, the
# system names the one the link points to.
maps="-ffile-prefix-map=$src=. -ffile-prefix-map=$bld=build"
cmake -S "$src" --preset windows -B "$bld" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="$maps" -DCMAKE_CXX_FLAGS="$maps" >/dev/null
cmake --build "$bld" -j "${STLAG_JOBS:-2}" --target startlagaren stlagc stlag_readme

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bld/CMakeCache.txt")
name=Startlagaren-$version-win64
mkdir -p "$out/$name"
cp "$bld/app/startlagaren.exe" "$bld/app/stlagc.exe" "$bld/app/ReadMe.txt" LICENSE "$out/$name/"

# Fixed order, time, permissions and compression: zip and unzip tools would add the files'
# own times, owners and the order the folder lists them in.
python3 - "$out/$name" "$out/$name.zip" <<'PY'
import os, sys, time, zipfile
folder, target = sys.argv[1:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(target, "w") as archive:
    for name in ("startlagaren.exe", "stlagc.exe", "ReadMe.txt", "LICENSE"):
        entry = zipfile.ZipInfo(name, stamp)
        entry.create_system = 3  # Unix, whatever machine packs it
        entry.external_attr = 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(folder, name), "rb") as f:
            archive.writestr(entry, f.read(), compresslevel=9)
PY

# The programs are listed as they lie after Explorer's "Extract All" of the zip.
(cd "$out" && sha256sum "$name.zip" "$name/startlagaren.exe" "$name/stlagc.exe" >SHA256SUMS)
cat "$out/SHA256SUMS"
