#!/usr/bin/env bash
# Installs everything the build and the test bench need, from Debian's packages only.
# Safe to run again: it installs only what is missing.
# The 32-bit Wine is asked for only where the kernel runs i386 programs; the 64-bit path never
# depends on it, and a failure to get it is told, not fatal (its suites are then not run).
set -uo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake g++ make googletest libbenchmark-dev clang-format
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
      g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64
      wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick zip unzip hyperfine time nsis jq)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

# Whether the kernel executes i386 programs: run the smallest 32-bit program there is (it only
# exits with 0). Where it cannot, 32-bit Windows programs cannot run under Wine either.
runs_i386() {
    local probe
    probe=$(mktemp) || return 1
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xc0\x40\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    local rc=$?
    rm -f "$probe"
    return $rc
}

want32=0
if runs_i386; then
    have wine32:i386 || want32=1
fi

if [ ${#need[@]} -eq 0 ] && [ $want32 -eq 0 ]; then
    exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ $want32 -eq 1 ]; then
    $SUDO dpkg --add-architecture i386
fi
# A mirror in the middle of a sync can fail some indexes (often another architecture's); the
# lists that did arrive may still hold every package we need, so go on and let the install judge.
if ! $SUDO apt-get update -qq; then
    echo "install-deps: some package indexes could not be updated (see above); trying with what arrived" >&2
fi
if [ ${#need[@]} -gt 0 ]; then
    if ! $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"; then
        echo "install-deps: could not install: ${need[*]}" >&2
        exit 1
    fi
fi
if [ $want32 -eq 1 ]; then
    if ! $SUDO apt-get install -y -qq --no-install-recommends wine32:i386; then
        echo "install-deps: the 32-bit Wine could not be installed; the 32-bit suites will not run" >&2
    fi
fi
exit 0
