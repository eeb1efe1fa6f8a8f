#!/bin/sh
# Installs what building and testing need on Debian 12, only when something is missing.
set -e
packages="cmake g++ make python3 libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick x11-utils clang libclang-rt-14-dev cppcheck clang-tidy"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install them yourself):$missing" >&2
    exit 1
  fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
fi
