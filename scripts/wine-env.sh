# Sourced by every script that runs Wine: which Wine loader and server to use on this machine,
# and the environment of a bench's prefix.
# The 32-bit loader runs only where the kernel can execute i386 programs; elsewhere the
# 64-bit loader runs the 64-bit programs alone (32-bit ones cannot be started at all).
HALCYRA_WINE32=0
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    HALCYRA_WINE=/usr/lib/wine/wine
    HALCYRA_WINE32=1
else
    HALCYRA_WINE=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
fi
HALCYRA_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$HALCYRA_WINESERVER" ] || HALCYRA_WINESERVER=/usr/lib/wine/wineserver32
export WINESERVER=$HALCYRA_WINESERVER

# The environment of the prefix in BENCH_DIR (BENCH_DIR/prefix): no debug output unless the
# caller asked for some, and no Mono or Gecko install prompts.
halcyra_wine_env() {
    export WINEPREFIX="$1/prefix" WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}
