#!/bin/bash
# Builds the Windows program and opens the wizard under Wine on a demo registry seeded
# with faulty start-up values. Without a display it prints the scan through stlagc.exe.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "${STLAG_JOBS:-2}"

prefix="$PWD/build/demo/wineprefix"
echo "Preparing a demo Wine prefix in $prefix ..."
scripts/demo-prefix.sh "$prefix"
export STLAG_WINEPREFIX="$prefix"

wizard=build/windows/app/startlagaren.exe
if [ -f "$wizard" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Opening the wizard; its changes stay in the demo prefix, its backup files land on Wine's desktop, a link to your own desktop folder (or home folder)."
  cmake/wine-run.sh "$wizard"
else
  echo "No display (or no wizard yet): the scan of the demo registry, through stlagc.exe:"
  echo
  set +e
  cmake/wine-run.sh build/windows/app/stlagc.exe | iconv -f CP1252 -t UTF-8
  code=${PIPESTATUS[0]}
  echo
  echo "stlagc.exe exit code: $code (0 nothing faulty, 1 faults found)"
fi
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
