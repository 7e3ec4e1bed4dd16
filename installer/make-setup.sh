#!/usr/bin/env bash
# Makes the setup program from two staged builds (each a folder with Halcyra.exe, Corvane.exe
# and README.txt), with makensis from Debian's nsis package.
#
#   make-setup.sh OUTFILE VERSION STAGE64 STAGE32 [-DNAME=VALUE...]
#
# Further -D options go to makensis; tests use them (installer/test-setup.sh), the release none.
# The same inputs give the same bytes: makensis stores each file's modification time (the
# caller sets them, the release to the commit's time) and nothing of the build machine, the
# time of the build or the folders used.
set -euo pipefail

out=${1:?usage: make-setup.sh OUTFILE VERSION STAGE64 STAGE32}
version=${2:?usage: make-setup.sh OUTFILE VERSION STAGE64 STAGE32}
stage64=$(cd "${3:?usage: make-setup.sh OUTFILE VERSION STAGE64 STAGE32}" && pwd)
stage32=$(cd "${4:?usage: make-setup.sh OUTFILE VERSION STAGE64 STAGE32}" && pwd)
shift 4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

command -v makensis >/dev/null || { echo "make-setup: makensis is missing (Debian package nsis)" >&2; exit 1; }
for f in "$stage64"/{Halcyra.exe,Corvane.exe,README.txt} "$stage32"/{Halcyra.exe,Corvane.exe,README.txt}; do
    [ -f "$f" ] || { echo "make-setup: $f is missing" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

# A fixed environment: makensis reads no locale-dependent text, but its messages and any
# number formatting then stay the same everywhere.
LC_ALL=C TZ=UTC makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DSTAGE64="$stage64" -DSTAGE32="$stage32" \
    -DICON="$root/common/res/Halcyra.ico" -DOUTFILE="$out" "$@" \
    "$here/Halcyra.nsi"
if grep -qaF -e "$stage64" -e "$stage32" -e "$root" "$out"; then
    echo "make-setup: a build path was left in $out" >&2
    exit 1
fi
