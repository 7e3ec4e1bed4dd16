#!/usr/bin/env bash
# Builds and runs every test: the portable core natively and under ASan+UBSan, then the
# Windows programs and their tests under Wine (64-bit, and 32-bit where the machine runs it;
# where only the 32-bit Wine is missing, those suites are reported as not run, not as failed).
# Ends with one line "N passed, N failed" over all suites; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || { echo "could not install the build dependencies" >&2; exit 1; }
source scripts/wine-env.sh

passed=0
failed=0
logs="$root/build/test-logs"
mkdir -p "$logs"

# Adds the counts of one ctest run to the totals, from its JUnit report: a test that ran and
# passed counts as passed; one that failed or could not be run as failed; a skipped one not.
count_junit() {
    local xml=$1 p f
    if [ ! -s "$xml" ]; then
        echo "  (no report from ctest: counted as one failure)"
        failed=$((failed + 1))
        return
    fi
    p=$(grep -E '^\s*<testcase ' "$xml" | grep -c 'status="run"')
    f=$(grep -E '^\s*<testcase ' "$xml" | grep -cE 'status="(fail|notrun)"')
    passed=$((passed + p))
    failed=$((failed + f))
}

suite() { echo; echo "=== $1"; }

suite "format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
if clang-format --dry-run --Werror "${sources[@]}" >"$logs/format.log" 2>&1; then
    passed=$((passed + 1)); echo "  formatted as .clang-format says"
else
    failed=$((failed + 1)); head -n 20 "$logs/format.log"
fi

build() { # preset
    cmake --preset "$1" >"$logs/$1-configure.log" 2>&1 &&
        cmake --build --preset "$1" -j2 >"$logs/$1-build.log" 2>&1
}

run_native() { # preset
    suite "$1"
    if ! build "$1"; then
        tail -n 30 "$logs/$1-configure.log" "$logs/$1-build.log"
        failed=$((failed + 1)); return
    fi
    rm -f "$logs/$1-junit.xml"
    ctest --preset "$1" -j2 --output-junit "$logs/$1-junit.xml" >"$logs/$1-test.log" 2>&1
    grep -E 'tests passed|\*\*\*Failed|\*\*\*Exception|\*\*\*Timeout|Not Run' "$logs/$1-test.log" | head -n 40
    count_junit "$logs/$1-junit.xml"
}

run_wine() { # preset
    suite "$1 (under Wine)"
    if ! build "$1"; then
        tail -n 30 "$logs/$1-configure.log" "$logs/$1-build.log"
        failed=$((failed + 1)); return
    fi
    local bench="$root/build/$1/wine"
    if ! bash scripts/wine-bench.sh start "$bench" --fresh >"$logs/$1-bench.log" 2>&1; then
        cat "$logs/$1-bench.log"; failed=$((failed + 1)); return
    fi
    # One program at a time: the tests share the prefix's registry, desktop and hotkeys.
    rm -f "$logs/$1-junit.xml"
    ctest --preset "$1" -j1 --output-junit "$logs/$1-junit.xml" >"$logs/$1-test.log" 2>&1
    grep -E 'tests passed|\*\*\*Failed|\*\*\*Exception|\*\*\*Timeout|Not Run' "$logs/$1-test.log" | head -n 40
    count_junit "$logs/$1-junit.xml"
    bash scripts/wine-bench.sh stop "$bench" >/dev/null 2>&1
}

run_native native
run_native native-asan
run_wine win64
# Whether the kernel runs i386 programs, asked with install-deps.sh's own probe: where it
# does, a missing 32-bit Wine is a failed install, and its suites are not run rather than
# impossible here.
kernel_runs_i386() {
    eval "$(sed -n '/^runs_i386() {/,/^}/p' scripts/install-deps.sh)"
    declare -F runs_i386 >/dev/null && runs_i386
}

if [ "$HALCYRA_WINE32" = 1 ]; then
    run_wine win32
else
    echo
    if kernel_runs_i386; then
        echo "=== win32: NOT RUN: the 32-bit Wine could not be installed (see install-deps above); built only"
    else
        echo "=== win32: this machine cannot run 32-bit Windows programs; built only"
    fi
    build win32 || { tail -n 30 "$logs/win32-build.log"; failed=$((failed + 1)); }
fi

# The setup program, made from both builds, installed, upgraded and removed under Wine.
suite "installer (under Wine)"
bash installer/test-setup.sh >"$logs/installer.log" 2>&1
case $? in
    3) echo "  this machine cannot run the 32-bit setup program; not tested" ;;
    *) grep -vE '^\[ +(OK|PASSED) +\]|^installer: [0-9]+ passed' "$logs/installer.log" | head -n 40
       line=$(grep -E '^installer: [0-9]+ passed, [0-9]+ failed' "$logs/installer.log" | tail -n 1)
       echo "  ${line:-installer: no result (counted as one failure)}"
       p=$(echo "$line" | sed -nE 's/^installer: ([0-9]+) passed.*/\1/p')
       f=$(echo "$line" | sed -nE 's/.* ([0-9]+) failed.*/\1/p')
       passed=$((passed + ${p:-0}))
       failed=$((failed + ${f:-1})) ;;
esac

echo
echo "Logs: $logs"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
