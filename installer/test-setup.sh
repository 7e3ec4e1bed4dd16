#!/usr/bin/env bash
# Tests the setup program under Wine, in a fresh prefix of its own: silent install, the
# installed copy with its startup entry, an upgrade over the running copy, uninstalling while
# a copy runs, another copy and its startup entry, folders given with /D= (the 32-bit pair
# too) and a copy that does not close.
#
#   bash installer/test-setup.sh                  make the setup from build/win64 and build/win32
#   bash installer/test-setup.sh dist/Halcyra-1.3.2-setup.exe     test a release's setup
#
# The test program itself is built in build/win64. Prints its results; the last line is
# "installer: N passed, N failed". Exits 0 only when all passed; 3 when this machine cannot
# run the given (32-bit) setup program at all.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
work="$root/build/installer"
logs="$root/build/test-logs"
mkdir -p "$work" "$logs"

if [ "$HALCYRA_WINE32" != 1 ] && [ $# -ge 1 ]; then
    echo "installer: this machine cannot run 32-bit Windows programs, so not the setup either"
    exit 3
fi

fail() { echo "installer: $1" >&2; echo "installer: 0 passed, 1 failed"; exit 1; }

build() { # preset target...
    local preset=$1
    shift
    [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >>"$logs/installer-build.log" 2>&1
    cmake --build --preset "$preset" -j2 --target "$@" >>"$logs/installer-build.log" 2>&1
}

: >"$logs/installer-build.log"
if [ $# -ge 1 ]; then
    setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    [ -f "$setup" ] || fail "no setup program $1"
else
    version=$(sed -n 's/^project(Halcyra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    for arch in win64 win32; do
        build "$arch" Halcyra Corvane || fail "the $arch build failed (build/test-logs/installer-build.log)"
        stage="$work/stage-$arch"
        rm -rf "$stage"
        mkdir -p "$stage"
        cp "build/$arch/app/win32/Halcyra.exe" "build/$arch/launcher/win32/Corvane.exe" "$stage/"
        printf 'Halcyra %s, a test build\r\n' "$version" >"$stage/README.txt"
    done
    # Without 32-bit Wine the same script gets a 64-bit stub; a second setup takes the 32-bit
    # branch on this 64-bit prefix, so both pairs of programs are installed and removed.
    target=()
    if [ "$HALCYRA_WINE32" != 1 ]; then
        target=(-DTARGET=amd64-unicode)
        echo "installer: no 32-bit Wine here, so the setup is made with a 64-bit stub"
    fi
    setup="$work/Halcyra-$version-setup.exe"
    export HALCYRA_SETUP_BRANCH32="$work/Halcyra-$version-branch32-setup.exe"
    # Both at once: each is one compressing process.
    bash installer/make-setup.sh "$setup" "$version" "$work/stage-win64" "$work/stage-win32" \
        "${target[@]}" >"$logs/installer-setup.log" 2>&1 &
    bash installer/make-setup.sh "$HALCYRA_SETUP_BRANCH32" "$version" "$work/stage-win64" \
        "$work/stage-win32" "${target[@]}" -DBRANCH32 >"$logs/installer-setup32.log" 2>&1 ||
        fail "makensis failed (build/test-logs/installer-setup32.log)"
    wait $! || fail "makensis failed (build/test-logs/installer-setup.log)"
fi
build win64 installer_e2e_tests || fail "the test program did not build (build/test-logs/installer-build.log)"

bench="$work/wine"
bash scripts/wine-bench.sh start "$bench" --fresh >"$logs/installer-bench.log" 2>&1 ||
    { cat "$logs/installer-bench.log"; fail "the Wine bench did not start"; }
HALCYRA_SETUP="$setup" scripts/wine-exec.sh "$bench" \
    build/win64/tests/e2e/installer/installer_e2e_tests.exe >"$logs/installer-test.log" 2>&1
status=$?
bash scripts/wine-bench.sh stop "$bench" >/dev/null 2>&1

grep -E '^\[ *(OK|FAILED|PASSED) *\]|Failure|error:' "$logs/installer-test.log" | head -n 40
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$logs/installer-test.log" | tail -n 1)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$logs/installer-test.log" | tail -n 1)
passed=${passed:-0}
failed=${failed:-0}
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
    failed=1 # ended without a summary
fi
echo "installer: $passed passed, $failed failed (log: build/test-logs/installer-test.log)"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
