#!/usr/bin/env bash
# The Wine test bench of one build folder: a private Xvfb display, a throw-away Wine prefix
# with its virtual desktop and shell, and a persistent wineserver.
#
#   wine-bench.sh start BENCH_DIR [--fresh]   set up (a new prefix with --fresh) and start
#   wine-bench.sh stop BENCH_DIR              stop the server and the display, by PID
#   wine-bench.sh env BENCH_DIR               print the environment for running programs
#
# BENCH_DIR holds prefix/, display, xvfb.pid and server.pid.
set -euo pipefail

cmd=${1:?usage: wine-bench.sh start|stop|env BENCH_DIR [--fresh]}
bench=${2:?usage: wine-bench.sh start|stop|env BENCH_DIR [--fresh]}
fresh=${3:-}
mkdir -p "$bench"
bench=$(cd "$bench" && pwd)

# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh"
halcyra_wine_env "$bench"

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

start_display() {
    if alive "$bench/xvfb.pid"; then
        return
    fi
    # Xvfb picks a free display number itself and writes it to the pipe.
    local fifo="$bench/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$bench/xvfb.log" 2>&1 &
    echo $! >"$bench/xvfb.pid"
    local n
    read -r -t 20 n <"$fifo"
    rm -f "$fifo"
    [ -n "$n" ] || { echo "wine-bench: Xvfb did not start" >&2; exit 1; }
    echo "$n" >"$bench/display"
}

reg_add() { "$HALCYRA_WINE" reg add "$@" /f >/dev/null 2>&1; }

make_prefix() {
    rm -rf "$WINEPREFIX"
    "$HALCYRA_WINE" wineboot -i </dev/null >"$bench/wineboot.log" 2>&1
    # Wine's own Tahoma and Marlett, or text falls back to a host font.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A virtual desktop with its shell: a taskbar with a notification area, no stalls on hide,
    # and hotkeys that reach hidden windows.
    reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
    reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768
    reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v EnableShell /t REG_DWORD /d 1
    # A crash must fail the test, not wait for someone to close a dialog.
    reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    "$HALCYRA_WINESERVER" -k 2>/dev/null || true
    "$HALCYRA_WINESERVER" -w
}

start() {
    start_display
    export DISPLAY=":$(cat "$bench/display")"
    if [ "$fresh" = "--fresh" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
        alive "$bench/server.pid" && { "$HALCYRA_WINESERVER" -k || true; "$HALCYRA_WINESERVER" -w; }
        make_prefix
    fi
    if ! alive "$bench/server.pid"; then
        "$HALCYRA_WINESERVER" -f -p >"$bench/wineserver.log" 2>&1 &
        echo $! >"$bench/server.pid"
        sleep 0.2
        # The first program spawns services.exe and explorer.exe, which inherit its stdio:
        # start them from harmless programs with stdio detached.
        "$HALCYRA_WINE" winecfg -v </dev/null >/dev/null 2>&1 || true
        # Wine ends the desktop (and its taskbar) when no program has a window on it; the
        # keeper holds one hidden window so every test meets the same desktop and tray.
        local keeper="$bench/bench-keeper.exe"
        [ -f "$keeper" ] || x86_64-w64-mingw32-gcc -O2 -mwindows -o "$keeper" \
            "$(dirname "$0")/bench-keeper.c"
        "$HALCYRA_WINE" "$keeper" </dev/null >/dev/null 2>&1 &
        echo $! >"$bench/keeper.pid"
        for _ in $(seq 1 100); do
            xwininfo -root -tree -display "$DISPLAY" 2>/dev/null | grep -q 'Wine desktop' && break
            sleep 0.2
        done
    fi
}

stop() {
    if [ -f "$bench/server.pid" ]; then
        "$HALCYRA_WINESERVER" -k 2>/dev/null || true
        local pid
        pid=$(cat "$bench/server.pid")
        for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill "$pid" 2>/dev/null || true
        rm -f "$bench/server.pid" "$bench/keeper.pid"
    fi
    if [ -f "$bench/xvfb.pid" ]; then
        kill "$(cat "$bench/xvfb.pid")" 2>/dev/null || true
        rm -f "$bench/xvfb.pid"
    fi
}

case "$cmd" in
    start) start ;;
    stop) stop ;;
    env)
        echo "export WINEPREFIX='$WINEPREFIX' WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
        echo "export DISPLAY=':$(cat "$bench/display")' WINELOADER='${WINELOADER:-}' WINESERVER='$WINESERVER'"
        echo "HALCYRA_WINE='$HALCYRA_WINE' HALCYRA_WINE32=$HALCYRA_WINE32"
        ;;
    *) echo "wine-bench: unknown command $cmd" >&2; exit 2 ;;
esac
