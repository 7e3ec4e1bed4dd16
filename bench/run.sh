#!/usr/bin/env bash
# The performance bench: Halcyra.exe beside two floor programs, in one run and one Wine prefix,
# plus two in-process micro-benchmarks. Prints one table; it is not a test and fails on nothing
# but a broken bench.
#   bare floor    (bench/minimal) one plain window, or with "/start" one icon: the least a
#                 Win32 program pays for either
#   window floor  (bench/window) Halcyra's own window (menu, controls, font, icons, manifest)
#                 and nothing else: what showing that window costs by itself
#
#   bash bench/run.sh
#
# Settings (environment):
#   RUNS=11          start-up runs per program and mode (medians are printed)
#   IDLE=10          seconds each program is watched while idle
#   HALCYRA_EXE=...  measure this Halcyra.exe instead of the one the build makes
#   BENCH_BUILD=...  the Windows build folder (default build/bench-win64)
#   BENCH_NATIVE=... the native build folder (default build/bench-native)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-11}
idle=${IDLE:-10}
bdir=${BENCH_BUILD:-$root/build/bench-win64}
ndir=${BENCH_NATIVE:-$root/build/bench-native}
stage="$bdir/bench-stage"
scratch="$bdir/bench-results"

# shellcheck source=lib.sh
source "$root/bench/lib.sh"

# Builds the programs as shipped (the release preset) and the native micro-benchmark, and
# stages stripped copies.
build_programs() {
    mkdir -p "$bdir" "$ndir"
    note "building the Windows programs in $bdir"
    (cd "$root" && cmake --preset win64-release -B "$bdir" >"$bdir.configure.log" 2>&1) ||
        { tail -20 "$bdir.configure.log" >&2; exit 1; }
    cmake --build "$bdir" -j2 --target bench_minimal bench_window_floor bench_driver Corvane >"$bdir.build.log" 2>&1 ||
        { tail -20 "$bdir.build.log" >&2; exit 1; }
    have_subclass=0
    if cmake --build "$bdir" -j2 --target bench_subclass >>"$bdir.build.log" 2>&1; then
        have_subclass=1
    else
        note "bench_subclass did not build (see $bdir.build.log); no dispatch figures"
    fi
    if [ -z "${HALCYRA_EXE:-}" ]; then
        cmake --build "$bdir" -j2 --target Halcyra >>"$bdir.build.log" 2>&1 ||
            note "Halcyra did not build; measuring the Halcyra.exe the build folder already has"
        HALCYRA_EXE="$bdir/app/win32/Halcyra.exe"
    fi
    [ -f "$HALCYRA_EXE" ] || { note "no Halcyra.exe at $HALCYRA_EXE"; exit 1; }

    have_hotkey=0
    note "building the native micro-benchmark in $ndir"
    if (cd "$root" && cmake --preset native-bench -B "$ndir" >"$ndir.configure.log" 2>&1) &&
        cmake --build "$ndir" -j2 --target bench_hotkey >"$ndir.build.log" 2>&1; then
        have_hotkey=1
    else
        note "bench_hotkey did not build (see $ndir.build.log); no hotkey figure"
    fi

    # Measured as shipped: stripped, Halcyra.exe and Corvane.exe side by side.
    rm -rf "$stage" "$scratch"
    mkdir -p "$stage/minimal" "$stage/window" "$scratch"
    x86_64-w64-mingw32-strip -o "$stage/Halcyra.exe" "$HALCYRA_EXE"
    x86_64-w64-mingw32-strip -o "$stage/Corvane.exe" "$bdir/launcher/win32/Corvane.exe"
    x86_64-w64-mingw32-strip -o "$stage/minimal/Minimal.exe" "$bdir/bench/bench_minimal.exe"
    x86_64-w64-mingw32-strip -o "$stage/window/WindowFloor.exe" "$bdir/bench/bench_window_floor.exe"
    cp "$bdir/bench/bench_driver.exe" "$stage/"
    [ "$have_subclass" = 1 ] && cp "$bdir/bench/bench_subclass.exe" "$stage/"
}

# Runs every program under Wine and the micro-benchmarks; raw figures go to $scratch.
measure() {
    bench_dir="$bdir/wine"
    bash "$root/scripts/wine-bench.sh" start "$bench_dir" >/dev/null
    trap 'bash "$root/scripts/wine-bench.sh" stop "$bench_dir"' EXIT
    eval "$(bash "$root/scripts/wine-bench.sh" env "$bench_dir")"
    export WINEPREFIX DISPLAY WINESERVER

    winpath() { local p=${1//\//\\}; echo "Z:$p"; }
    halcyra_win=$(winpath "$stage/Halcyra.exe")
    minimal_win=$(winpath "$stage/minimal/Minimal.exe")
    window_win=$(winpath "$stage/window/WindowFloor.exe")

    # Runs the driver once: PROGRAM MODE(window|tray) HOLD_MS OUT [WINEDEBUG]. PROGRAM is
    # halcyra, minimal (the bare floor) or window (the window floor, shown only).
    drive() {
        local program=$1 mode=$2 hold=$3 out=$4 debug=${5:--all}
        local cls title exe tray=0 args=()
        case "$program" in
        halcyra) cls=HalcyraForm title=Halcyra exe=$halcyra_win ;;
        minimal) cls=BenchMinimal title=Minimal exe=$minimal_win ;;
        window) cls=BenchWindowFloor title=Halcyra exe=$window_win ;;
        esac
        if [ "$mode" = tray ]; then
            # Both programs that go to the tray give their one icon the id 1.
            tray=1 args=(/start)
        fi
        WINEDEBUG=$debug "$HALCYRA_WINE" "$stage/bench_driver.exe" "$cls" "$title" "$tray" "$hold" \
            "$exe" "${args[@]}" >"$out" 2>"$out.trace" </dev/null || true
    }
    # The programs measured in each mode; the window floor has no tray mode.
    programs() { if [ "$1" = window ]; then echo halcyra minimal window; else echo halcyra minimal; fi; }

    # Start-up: a warm-up run each (the first start writes the settings), then the programs in
    # turn so that a slow moment of the machine touches both alike.
    for mode in window tray; do
        for program in $(programs "$mode"); do
            drive "$program" "$mode" 0 "$scratch/warmup"
        done
        for i in $(seq 1 "$runs"); do
            for program in $(programs "$mode"); do
                drive "$program" "$mode" 0 "$scratch/run"
                ms=$(value ready_ms "$scratch/run")
                [ -n "$ms" ] || { note "$program ($mode) did not come up: $(cat "$scratch/run")"; ms=; }
                [ -n "$ms" ] && echo "$ms" >>"$scratch/$program-$mode.ms"
            done
        done
        note "start-up ($mode) measured"
    done

    # Memory and idle behaviour: one traced run each, shown and in the tray, watched from outside.
    declare -gA rss private wset timers idle_msgs idle_switches idle_ticks
    for mode in window tray; do
        for program in $(programs "$mode"); do
            k=$program-$mode
            out="$scratch/$k-idle"
            hold=$(( (idle + 3) * 1000 ))
            drive "$program" "$mode" "$hold" "$out" +msg &
            driver=$!
            for _ in $(seq 1 300); do grep -q '^ready' "$out" 2>/dev/null && break; sleep 0.1; done
            case "$program" in
            halcyra) name=Halcyra.exe ;;
            minimal) name=Minimal.exe ;;
            window) name=WindowFloor.exe ;;
            esac
            pid=$(unix_pid "$name" || true)
            if [ -n "$pid" ]; then
                rss[$k]=$(awk '/^VmRSS/ {print $2}' /proc/"$pid"/status)
                private[$k]=$(awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s}' \
                    /proc/"$pid"/smaps_rollup)
                s0=$(switches "$pid") t0=$(cpu_ticks "$pid")
                sleep "$idle"
                s1=$(switches "$pid") t1=$(cpu_ticks "$pid")
                idle_switches[$k]=$((s1 - s0))
                idle_ticks[$k]=$((t1 - t0))
            else
                note "no Unix process found for $name"
            fi
            wait "$driver" || true
            wset[$k]=$(value working_set_kb "$out")
            tid=$(value tid "$out")
            trace="$out.trace"
            # Timers of the program's window thread over its whole run; messages it retrieved
            # between the driver's idle markers.
            timers[$k]=$(grep -c "^$tid:trace:msg:NtUserSetTimer" "$trace" || true)
            idle_msgs[$k]=$(awk -v t="$tid:" '/bench-driver: idle begins/ {on = 1; next}
                /bench-driver: idle ends/ {on = 0} on && index($0, t) == 1 && /peek_message got/ {n++}
                END {print n + 0}' "$trace")
        done
    done
    note "memory and idle measured"

    # Armed an hour ahead (the monitor, harmless here): its one timer is 55 minutes away, so the
    # idle watch must see nothing at all.
    "$HALCYRA_WINE" reg add 'HKCU\Software\Halcyra\Settings' /v ScheduleAction /d "Turn off Monitor" /f >/dev/null 2>&1
    "$HALCYRA_WINE" reg add 'HKCU\Software\Halcyra\Settings' /v ScheduleWhen /d In /f >/dev/null 2>&1
    "$HALCYRA_WINE" reg add 'HKCU\Software\Halcyra\Settings' /v ScheduleInMinutes /d 60 /f >/dev/null 2>&1
    # Messages the window thread of a driven run retrieved between the idle markers.
    idle_messages() { # driver output
        awk -v t="$(value tid "$1"):" '/bench-driver: idle begins/ {on = 1; next}
            /bench-driver: idle ends/ {on = 0} on && index($0, t) == 1 && /peek_message got/ {n++}
            END {print n + 0}' "$1.trace"
    }
    out="$scratch/halcyra-armed-idle"
    BENCH_ARM_SCHEDULE=1 drive halcyra window $(( (idle + 3) * 1000 )) "$out" +msg
    armed_ok=$(value armed "$out")
    armed_msgs=$(idle_messages "$out")
    [ "$armed_ok" = yes ] || armed_msgs="n/a (not armed)"
    note "armed idle measured"

    # Held by a script's command line, in the window's copy: one timer at most (an hour away),
    # a wait the system signals, nothing that polls; the idle watch must see nothing at all.
    commanded_idle() { # arguments for Halcyra.exe ("{pid}": a job the driver runs meanwhile)
        local out="$scratch/halcyra-commanded-idle"
        BENCH_COMMAND="$1" drive halcyra window $(( (idle + 3) * 1000 )) "$out" +msg
        if [ "$(value command_exit "$out")" != 0 ]; then
            echo "n/a (refused)"; return
        fi
        idle_messages "$out"
    }
    awake_hour_msgs=$(commanded_idle "/awake /in 60")
    awake_job_msgs=$(commanded_idle "/awake /while {pid}")
    ends_job_msgs=$(commanded_idle "/action monitoroff /after {pid}")
    note "kept-awake and program's-end idle measured"

    sub_bare=n/a sub_only=n/a sub_then=n/a sub_none=n/a sub_prop=n/a sub_atom=n/a
    if [ "$have_subclass" = 1 ]; then
        "$HALCYRA_WINE" "$stage/bench_subclass.exe" >"$scratch/subclass" 2>/dev/null </dev/null || true
        sub_bare=$(value bare_ns "$scratch/subclass")
        sub_only=$(value subclassed_ns "$scratch/subclass")
        sub_then=$(value subclassed_then_old_ns "$scratch/subclass")
        sub_none=$(value unattached_ns "$scratch/subclass")
        sub_prop=$(value get_prop_ns "$scratch/subclass")
        sub_atom=$(value get_prop_atom_ns "$scratch/subclass")
    fi
    hot_ns=n/a power_ns=n/a
    if [ "$have_hotkey" = 1 ]; then
        "$ndir/bench/bench_hotkey" --benchmark_format=json --benchmark_repetitions=5 \
            --benchmark_report_aggregates_only=true >"$scratch/hotkey.json" 2>/dev/null || true
        read -r hot_ns power_ns < <(python3 - "$scratch/hotkey.json" <<'EOF'
import json, sys
rows = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
print("%.0f %.0f" % (rows.get("BM_HotkeyToPowerRequest", 0), rows.get("BM_PowerRequestAlone", 0)))
EOF
        )
    fi
}

# Prints the table from the figures measure left.
report() {
    h_win=$(median <"$scratch/halcyra-window.ms" 2>/dev/null || echo n/a)
    m_win=$(median <"$scratch/minimal-window.ms" 2>/dev/null || echo n/a)
    w_win=$(median <"$scratch/window-window.ms" 2>/dev/null || echo n/a)
    h_tray=$(median <"$scratch/halcyra-tray.ms" 2>/dev/null || echo n/a)
    m_tray=$(median <"$scratch/minimal-tray.ms" 2>/dev/null || echo n/a)

    echo
    echo "Halcyra.exe: $(shown_path "$HALCYRA_EXE")"
    echo "Wine $("$HALCYRA_WINE" --version 2>/dev/null), $(nproc) CPUs, $runs start-up runs per row, idle $idle s"
    echo
    row "measure" "Halcyra" "bare" "ratio" "window" "ratio" "target"
    row "----------------------------------------------" "---------" "---------" "-------" "---------" "-------" "--------------------"
    # A row of Halcyra against both floors (a figure with none of the window floor leaves those
    # columns empty): LABEL HALCYRA BARE WINDOW TARGET
    both() {
        local w=${4:-} wr=""
        [ -n "$w" ] && wr=$(ratio "$2" "$w")
        row "$1" "$2" "$3" "$(ratio "$2" "$3")" "$w" "$wr" "$5"
    }
    # The per-mode figures of one array: LABEL ARRAY MODE TARGET [noratio]
    mrow() {
        local -n arr=$2
        local h=${arr[halcyra-$3]:-n/a} m=${arr[minimal-$3]:-n/a} w="" r="" wr=""
        [ "$3" = window ] && w=${arr[window-$3]:-n/a}
        if [ "${5:-}" != noratio ]; then
            r=$(ratio "$h" "$m")
            [ -n "$w" ] && wr=$(ratio "$h" "$w")
        fi
        row "$1" "$h" "$m" "$r" "$w" "$wr" "$4"
    }
    both "start to main window visible, median ms" "$h_win" "$m_win" "$w_win" "window <= 1.10x"
    both "start /start to tray icon added, median ms" "$h_tray" "$m_tray" "" "bare <= 1.15x"
    mrow "resident memory (VmRSS), KB" rss window "window <= 1.10x"
    mrow "private memory (smaps Private_*), KB" private window "window <= 1.10x"
    mrow "working set (GetProcessMemoryInfo), KB" wset window "window <= 1.10x"
    mrow "  resident memory, in the tray (/start), KB" rss tray "bare <= 1.10x"
    mrow "  private memory, in the tray (/start), KB" private tray "bare <= 1.10x"
    row "file size stripped, KB" "$(size_kb "$stage/Halcyra.exe")" "$(size_kb "$stage/minimal/Minimal.exe")" "" \
        "$(size_kb "$stage/window/WindowFloor.exe")" "" "<= 200 KB"
    row "Corvane.exe stripped, KB" "$(size_kb "$stage/Corvane.exe")" "" "" "" "" "<= 40 KB"
    row "imports only system DLLs" "$(only_system "$stage/Halcyra.exe")" \
        "$(only_system "$stage/minimal/Minimal.exe")" "" "$(only_system "$stage/window/WindowFloor.exe")" "" \
        "yes (Corvane: $(only_system "$stage/Corvane.exe"))"
    for mode in window tray; do
        where="shown"
        [ "$mode" = tray ] && where="tray"
        mrow "SetTimer calls, whole run, $where" timers "$mode" "0" noratio
        mrow "messages retrieved in ${idle} s idle, $where" idle_msgs "$mode" "0" noratio
        mrow "context switches in ${idle} s idle, $where" idle_switches "$mode" "no more than floors"
        mrow "CPU ticks (10 ms) in ${idle} s idle, $where" idle_ticks "$mode" "0" noratio
    done
    row "messages retrieved in ${idle} s idle, schedule armed 1 h ahead" "$armed_msgs" "" "" "" "" "0"
    row "messages retrieved in ${idle} s idle, kept awake for an hour" "$awake_hour_msgs" "" "" "" "" "0"
    row "messages retrieved in ${idle} s idle, kept awake while a program runs" "$awake_job_msgs" "" "" "" "" "0"
    row "messages retrieved in ${idle} s idle, armed on a running program" "$ends_job_msgs" "" "" "" "" "0"
    row "subclassed dispatch vs bare CallWindowProc ns" "$sub_only" "$sub_bare" "$(ratio "$sub_only" "$sub_bare")" "" "" "<= 2x"
    row "  same, client then previous procedure, ns" "$sub_then" "$sub_bare" "$(ratio "$sub_then" "$sub_bare")" "" "" ""
    row "  same, message without a client, ns" "$sub_none" "$sub_bare" "$(ratio "$sub_none" "$sub_bare")" "" "" ""
    row "  one GetPropA by name (for comparison), ns" "$sub_prop" "$sub_bare" "$(ratio "$sub_prop" "$sub_bare")" "" "" ""
    row "  one GetPropA by atom (for comparison), ns" "$sub_atom" "$sub_bare" "$(ratio "$sub_atom" "$sub_bare")" "" "" ""
    row "WM_HOTKEY to power request (fakes), ns" "$hot_ns" "$power_ns" "$(ratio "$hot_ns" "$power_ns")" "" "" "figure only"
    echo
    echo "Imports: Halcyra.exe: $(imports "$stage/Halcyra.exe")"
    echo "         Corvane.exe: $(imports "$stage/Corvane.exe")"
    echo "         bare floor:  $(imports "$stage/minimal/Minimal.exe")"
    echo "         window floor: $(imports "$stage/window/WindowFloor.exe")"
    echo "bare = the bare floor program, window = the window floor (shown window only). Subclass rows:"
    echo "bare column = a bare CallWindowProcA of the window's own procedure. Hotkey row: bare column ="
    echo "the recording power call alone."
    # Where the file's bytes come from, when the map is that of the program measured.
    local map="${HALCYRA_EXE%.exe}.map"
    if [ -f "$map" ]; then
        echo
        echo "Halcyra.exe by part (the linker's map; python3 bench/map-breakdown.py $map):"
        python3 "$root/bench/map-breakdown.py" "$map" --members 12 --symbols 0 |
            awk '/^\| group: output section/ {skip = 1} /^\| object or library member/ {skip = 0} !skip'
    fi
}

build_programs
measure
report
