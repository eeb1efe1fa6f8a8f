#!/bin/bash
# Usage: msi_test.sh APP_FOLDER VERSION NEXT_FOLDER NEXT_VERSION. In a Wine prefix of its own, msiexec installs the
# MSI that pack.sh signs with a throwaway certificate, then a build of NEXT_VERSION over it, and removes that.
set -Eeuo pipefail
trap 'echo "msi_test.sh: line ${BASH_LINENO[0]}/$LINENO: exit $?: $BASH_COMMAND" >&2' ERR
app=$1 version=$2 next=$3 next_version=$4 work=${STLAG_WINEPREFIX%/*}/msi-test root=$(cd "$(dirname "$0")/../.." && pwd)
WINEPREFIX=$STLAG_WINEPREFIX flock "$STLAG_WINEPREFIX.lock" wineserver -k 2>/dev/null || true  # after a making in progress
rm -rf "$STLAG_WINEPREFIX" "$work" && mkdir -p "$work"
"$root/cmake/wine-run.sh" cmd /c exit >/dev/null 2>&1 &  # makes the prefix meanwhile
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Test Signer" -days 1 -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:pw -out "$work/cert.pfx"
export SOURCE_DATE_EPOCH=1700000000
STLAG_SIGN_PFX=$work/cert.pfx STLAG_SIGN_PASSWORD=pw "$root/scripts/pack.sh" "$app" "$version" "$work/rel" >/dev/null
"$root/scripts/pack.sh" "$next" "$next_version" "$work/next" >/dev/null
msi=$work/rel/Startlagaren-$version-x64.msi rel=$work/rel/Startlagaren-$version-win64
signer() { [[ $(osslsigncode verify -CAfile "$work/cert.pem" -in "$1") == *"Subject: /CN=Test Signer"* ]]; }
signer "$msi"
for f in startlagaren.exe stlagc.exe; do
  signer "$rel/$f"
  osslsigncode remove-signature -in "$rel/$f" -out "$work/$f" >/dev/null
  cmp "$work/$f" "$app/$f"
done

wine() { "$root/cmake/wine-run.sh" "$@" | tr -d '\r'; }
pf=$STLAG_WINEPREFIX/drive_c/Program\ Files/Startlagaren
# Wine puts the shortcut in the user's Start menu, Windows (per machine) in ProgramData's.
lnk() { find "$STLAG_WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Startlagaren.lnk'; }
entries() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | sed -n 's/^ *\([A-Za-z]*\) *REG_[A-Z_]* *\(.*\)/\1=\2/p'; }
usage() { wine 'C:\Program Files\Startlagaren\stlagc.exe' /?; }
help=$(sed -n 's/.*IDS_WEB_TARGET *"URL:\([^"]*\)".*/\1/p' "$root/res/strings.rc")

wait  # until the prefix is made and its first program has ended
wine msiexec /i "Z:$msi" /qn
for f in startlagaren.exe stlagc.exe ReadMe.txt LICENSE Intune/{Detect,Remediate,Undo}.ps1; do cmp "$rel/$f" "$pf/$f"; done
grep -qaF 'C:\Program Files\Startlagaren\startlagaren.exe' "$(lnk)"
[[ $(usage) == *"Startlagaren $version"* ]]
e=$'\n'$(entries)$'\n'
for v in DisplayName=Startlagaren "DisplayVersion=$version" "Publisher=Startlagaren contributors" "HelpLink=$help"; do [[ $e == *$'\n'$v$'\n'* ]]; done
wine msiexec /i "Z:$work/next/Startlagaren-$next_version-x64.msi" /qn
[[ $(usage) == *"Startlagaren $next_version"* && $(entries | grep -c '^DisplayName=Startlagaren$') == 1 ]]
wine msiexec /x "Z:$work/next/Startlagaren-$next_version-x64.msi" /qn
[[ ! -e $pf && -z $(lnk) && $(entries) != *Startlagaren* ]]
