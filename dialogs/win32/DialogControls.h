#pragma once
// Small helpers the two dialogs share: derived fonts and tooltips.
#include <windows.h>

#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

// The dialog's own font with a different size (points, 0 keeps it) or underlined.
unique_hfont DeriveDialogFont(HWND dialog, int points, bool underline);

// A tooltip window owned by the dialog, so it goes when the dialog goes.
HWND CreateTooltips(HWND dialog);
void AddTooltip(HWND tooltips, HWND control, const char* text);

} // namespace halcyra::win32
