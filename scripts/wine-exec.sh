#!/usr/bin/env bash
# Runs one Windows program in a build folder's Wine bench (the cross-compiling emulator).
#   wine-exec.sh BENCH_DIR PROGRAM [ARGS...]
set -euo pipefail
bench=${1:?usage: wine-exec.sh BENCH_DIR PROGRAM [ARGS...]}
shift
bench=$(cd "$bench" && pwd)
if [ ! -f "$bench/display" ] || [ ! -f "$bench/server.pid" ]; then
    echo "wine-exec: the Wine bench in $bench is not running (scripts/wine-bench.sh start $bench)" >&2
    exit 1
fi
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh"
halcyra_wine_env "$bench"
export DISPLAY=":$(cat "$bench/display")"
export HALCYRA_BENCH_DIR="$bench"
export HALCYRA_WINE
exec "$HALCYRA_WINE" "$@"
