#!/usr/bin/env bash
# Installs everything the build and the test bench need, from Debian's packages only.
# Safe to run again: it installs only what is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake g++ make googletest libbenchmark-dev clang-format
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
      g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64
      wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick zip unzip hyperfine time nsis jq)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
i386=0
have wine32:i386 || i386=1

if [ ${#need[@]} -eq 0 ] && [ $i386 -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ $i386 -eq 1 ]; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ $i386 -eq 1 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends wine32:i386
fi
