#!/bin/bash
# Packs built programs into OUT: Startlagaren-<version>-win64.zip, Startlagaren-<version>-x64.msi,
# the programs as "Extract All" leaves them, and SHA256SUMS. Given a certificate (STLAG_SIGN_PFX,
# STLAG_SIGN_PASSWORD, optional STLAG_SIGN_TIMESTAMP_URL) it signs both programs, packs again
# and signs the MSI; SHA256SUMS then lists the signed files, and SHA256SUMS.unsigned the unsigned
# ones, which stay in OUT/unsigned. The same programs, version, commit and SOURCE_DATE_EPOCH give
# the same unsigned bytes. Used by release.sh and by the installer's test.
# Usage: scripts/pack.sh APP_FOLDER VERSION OUT   (APP_FOLDER holds both programs and ReadMe.txt)
set -euo pipefail
app=$1 version=$2 out=$3
root=$(cd "$(dirname "$0")/.." && pwd)
wxs=$(realpath "$root/package/startlagaren.wxs")
name=Startlagaren-$version-win64
msi=Startlagaren-$version-x64.msi
: "${SOURCE_DATE_EPOCH:?}"

# wixl makes a random package code and takes the clock for the summary's times, and the cabinet
# takes the files' times. The product code follows the version, so that a major upgrade sees a
# new product; the package code the version and the commit. Both are name-based UUIDs under the
# UpgradeCode, which never changes.
upgrade=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$wxs")
commit=$(git -C "$root" rev-parse HEAD)
# Other bytes must never share a package code: uncommitted changes are mixed in.
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  commit="$commit $(git -C "$root" diff HEAD | sha256sum | cut -c1-16)"
fi
read -r product package < <(python3 -c 'import sys, uuid
ns = uuid.UUID(sys.argv[1])
print(str(uuid.uuid5(ns, "product " + sys.argv[2])).upper(), str(uuid.uuid5(ns, "package " + sys.argv[2] + " " + sys.argv[3])).upper())' \
  "$upgrade" "$version" "$commit")
# Apps and Features links to where the About box does.
help=$(sed -n 's/.*IDS_WEB_TARGET *"URL:\([^"]*\)".*/\1/p' "$root/res/strings.rc")
when=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
files=(startlagaren.exe stlagc.exe ReadMe.txt LICENSE Intune/Detect.ps1 Intune/Remediate.ps1 Intune/Undo.ps1)

# The password goes through a pipe, never a command line; osslsigncode refuses an empty
# password file, so a certificate without a password is given none.
sign() {
  printf '%s' "${STLAG_SIGN_PASSWORD:-}" |
    osslsigncode sign -pkcs12 "$STLAG_SIGN_PFX" ${STLAG_SIGN_PASSWORD:+-readpass /dev/stdin} -h sha256 -n Startlagaren \
      ${STLAG_SIGN_TIMESTAMP_URL:+-ts "$STLAG_SIGN_TIMESTAMP_URL"} -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}

refuse() {
  echo "pack.sh: $*; nothing was packed" >&2
  exit 2
}

# Settings meant for signing without a certificate would make an unsigned release by mistake.
if [ -z "${STLAG_SIGN_PFX:-}" ] && [ -n "${STLAG_SIGN_PASSWORD:-}${STLAG_SIGN_TIMESTAMP_URL:-}" ]; then
  refuse "STLAG_SIGN_PASSWORD or STLAG_SIGN_TIMESTAMP_URL is set, but STLAG_SIGN_PFX is not"
fi
# OUT is replaced whole: it must be a folder of this script's own making, and hold no input.
[ -n "$out" ] || refuse "no output folder given"
case "$(realpath -m "$app")/" in "$(realpath -m "$out")"/*) refuse "the output folder $out holds the programs to pack" ;; esac
if [ -e "$out" ] && [ -n "$(find "$out" -mindepth 1 -maxdepth 1 ! -name 'Startlagaren-*' ! -name 'SHA256SUMS*' \
                               ! -name unsigned 2>/dev/null | head -n 1)" ]; then
  refuse "$out holds other files than a release; give an empty or a new folder"
fi

# Packs DIR/$name into DIR's zip and MSI (the MSI signed when SIGN is given) and their sums.
pack() {
  local dir=$1 sign_msi=${2:-}
  find "$dir/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  # Fixed order, time, permissions and compression: zip tools would add the files' own times,
  # owners and the order the folder lists them in.
  python3 - "$dir/$name" "$dir/$name.zip" "${files[@]}" <<'PY'
import os, sys, time, zipfile
folder, target, names = sys.argv[1], sys.argv[2], sys.argv[3:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(target, "w") as archive:
    for name in names:
        entry = zipfile.ZipInfo(name, stamp)
        entry.create_system = 3  # Unix, whatever machine packs it
        entry.external_attr = 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(folder, name), "rb") as f:
            archive.writestr(entry, f.read(), compresslevel=9)
PY
  # wixl takes a file's path only relative to the .wxs file's folder.
  TZ=UTC faketime -f "$when" wixl -a x64 -o "$dir/$msi" -D Version="$version" -D ProductCode="$product" \
    -D HelpLink="$help" -D Source="$(realpath --relative-to="${wxs%/*}" "$dir/$name")" "$wxs"
  msibuild "$dir/$msi" -s Startlagaren "Startlagaren contributors" "x64;1053" "{$package}"
  [ -z "$sign_msi" ] || sign "$dir/$msi"
  # The programs are listed as they lie after Explorer's "Extract All" of the zip.
  (cd "$dir" && sha256sum "$name.zip" "$msi" "$name/startlagaren.exe" "$name/stlagc.exe" >SHA256SUMS)
}

# Packed beside OUT and put in its place only when everything worked: a failure leaves the
# release that was there.
work=$(mktemp -d "$(dirname "$(realpath -m "$out")")/.pack.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/$name/Intune"
cp "$app/startlagaren.exe" "$app/stlagc.exe" "$app/ReadMe.txt" "$root/LICENSE" "$work/$name/"
cp "$root"/package/Intune/*.ps1 "$work/$name/Intune/"
if [ -z "${STLAG_SIGN_PFX:-}" ]; then
  pack "$work"
else
  cp "$app/stlagc.exe" "$work/trial.exe"
  sign "$work/trial.exe" || refuse "signing with $STLAG_SIGN_PFX failed (the certificate, STLAG_SIGN_PASSWORD or the time-stamp server)"
  rm "$work/trial.exe"
  mkdir "$work/unsigned"
  cp -r "$work/$name" "$work/unsigned/"
  pack "$work/unsigned"
  mv "$work/unsigned/SHA256SUMS" "$work/SHA256SUMS.unsigned"
  sign "$work/$name/startlagaren.exe"
  sign "$work/$name/stlagc.exe"
  pack "$work" sign
fi
rm -rf "$out"
mv "$work" "$out"
trap - EXIT
if [ -z "${STLAG_SIGN_PFX:-}" ]; then
  echo "pack.sh: unsigned, no certificate given (STLAG_SIGN_PFX)"
else
  echo "pack.sh: signed with $STLAG_SIGN_PFX"
fi
