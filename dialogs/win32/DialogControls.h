#pragma once
// Small helpers the two dialogs share: derived fonts and tooltips.
#include <windows.h>

#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

// The window's own density: its monitor's where the system has one density per monitor.
int WindowDensity(HWND window);

// The dialog's font as it stands, and the density it was made for: what fonts derived from it
// are scaled from when the dialog moves to a screen of another density.
struct DialogFontBase {
    LOGFONTA font;
    int dpi;
};
DialogFontBase ReadDialogFont(HWND dialog);

// The dialog's font at a density, with a different size (points, 0 keeps it) or underlined.
unique_hfont DeriveDialogFont(const DialogFontBase& base, int dpi, int points, bool underline);

// A tooltip window owned by the dialog, so it goes when the dialog goes.
HWND CreateTooltips(HWND dialog);
void AddTooltip(HWND tooltips, HWND control, const char* text);

} // namespace halcyra::win32
