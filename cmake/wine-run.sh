#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix, never ~/.wine.
# STLAG_WINEPREFIX overrides the prefix; it is created (wineboot -i) on first use.
set -e
prefix="${STLAG_WINEPREFIX:-$(pwd)/wineprefix}"
case "$prefix" in /*) ;; *) prefix="$(pwd)/$prefix" ;; esac
# No winemenubuilder: it copies a prefix's shortcuts and file types into the home folder's menus.
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # A crash must fail its test, not wait behind the debugger's dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w
  fi
) 9>"$prefix.lock"
exec wine "$@"
