#!/bin/sh
# Installs what building and testing need on Debian 12, only when something is missing,
# and makes the Japanese locale the double-byte tests run Wine under (code page 932).
set -e
packages="cmake g++ make python3 libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick x11-utils clang libclang-rt-14-dev cppcheck clang-tidy locales universal-ctags nlohmann-json3-dev wixl msitools faketime osslsigncode openssl"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
need_locale=""
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || need_locale=yes
if [ -n "$missing" ] || [ -n "$need_locale" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install them yourself):$missing ${need_locale:+and the ja_JP.UTF-8 locale}" >&2
    exit 1
  fi
fi
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
fi
if [ -n "$need_locale" ]; then
  echo "Generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
