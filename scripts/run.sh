#!/usr/bin/env bash
# Builds the 64-bit Halcyra.exe and starts it under Wine: on your display when DISPLAY is set,
# otherwise on a private virtual display, where a screenshot shows what it looks like.
#   run.sh [ARGUMENTS FOR HALCYRA...]      e.g. run.sh /start
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target Halcyra Corvane >/dev/null
exe="$root/build/win64/app/win32/Halcyra.exe"
bench="$root/build/win64/wine-run"
shots="$root/build/screenshots"
mkdir -p "$shots"

if [ -n "${DISPLAY:-}" ]; then
    # The user's own display; the prefix is still this build's, not the user's ~/.wine.
    source scripts/wine-env.sh
    halcyra_wine_env "$bench"
    [ -f "$WINEPREFIX/system.reg" ] || "$HALCYRA_WINE" wineboot -i >/dev/null 2>&1
    echo "Starting Halcyra on your display $DISPLAY"
    exec "$HALCYRA_WINE" "$exe" "$@"
fi

bash scripts/wine-bench.sh start "$bench"
display=$(cat "$bench/display")
trap 'bash scripts/wine-bench.sh stop "$bench" >/dev/null 2>&1' EXIT
echo "No DISPLAY is set: Halcyra runs on the virtual display :$display (Xvfb)."
scripts/wine-exec.sh "$bench" "$exe" "$@" &
halcyra=$!
for _ in $(seq 1 50); do
    xwininfo -root -tree -display ":$display" 2>/dev/null | grep -q '"Halcyra"' && break
    sleep 0.2
done
sleep 1
import -window root -display ":$display" "$shots/run.png"
echo "Screenshot of the screen: $shots/run.png"
if [ -t 0 ]; then
    echo "Halcyra is running; press Enter to end it."
    read -r _
else
    sleep 2
fi
kill "$halcyra" 2>/dev/null || true
