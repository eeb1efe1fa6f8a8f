#!/bin/sh
# Makes a fresh Wine prefix holding the demo's faulty start-up values.
# Usage: demo-prefix.sh PREFIX_DIR
set -e
prefix="$1"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
# The program that the quoted demo entry points to must exist for a quoting proposal.
for programs in "Program Files" "Program Files (x86)"; do
  mkdir -p "$prefix/drive_c/$programs/Demo Verktyg"
  cp "$prefix/drive_c/windows/notepad.exe" "$prefix/drive_c/$programs/Demo Verktyg/verktyg.exe"
done
wine regedit /S "Z:$(echo "$here/demo-startup-values.reg" | sed 's|/|\\|g')" >/dev/null 2>&1
wineserver -w
