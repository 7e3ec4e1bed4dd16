#!/usr/bin/env bash
# Refreshes the pictures in docs/screenshots/ that the README shows: the end-to-end test that
# photographs every window runs in a fresh Wine bench, and each picture is cut to its window.
#
#   bash scripts/screenshots.sh
#
# Look at the pictures before committing them (git diff shows which changed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target app_e2e_tests >/dev/null
bench="$root/build/win64/wine-shots"
shots="$root/build/win64/screenshots" # where the test saves them: beside its bench
out="$root/docs/screenshots"
rm -rf "$shots"
mkdir -p "$out"
bash scripts/wine-bench.sh start "$bench" --fresh >/dev/null
trap 'bash scripts/wine-bench.sh stop "$bench" >/dev/null 2>&1' EXIT
scripts/wine-exec.sh "$bench" build/win64/tests/e2e/app/app_e2e_tests.exe \
    --gtest_filter=Preferences.EveryWindowIsPhotographed

# Whole-screen pictures, cut down: the desktop's plain background is trimmed away around the
# windows (the taskbar first, so that it does not count as content) and a narrow margin of it
# put back; the tray menu keeps the corner of the screen with the icon it belongs to. -strip
# and no date chunks keep the files free of the time they were made.
for name in main options about tray; do
    [ -f "$shots/$name.png" ] || { echo "screenshots: $name.png was not taken" >&2; exit 1; }
done
save() { # convert's arguments, the output last
    convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${@: -1}"
}
for name in main options about; do
    background=$(convert "$shots/$name.png" -format '%[pixel:p{5,5}]' info:)
    save "$shots/$name.png" -gravity South -chop 0x24 -trim +repage \
        -bordercolor "$background" -border 12 "PNG24:$out/$name.png"
done
save "$shots/tray.png" -gravity SouthEast -crop 300x290+0+0 +repage "PNG24:$out/tray-menu.png"
ls -l "$out"
