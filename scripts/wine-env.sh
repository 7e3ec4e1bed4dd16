# Sourced by the bench scripts: which Wine loader and server to use on this machine.
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
