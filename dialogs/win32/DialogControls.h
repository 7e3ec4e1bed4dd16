#pragma once
// Small helpers the two dialog procedures share: derived fonts, tooltips, and the procedure
// boundary that no exception may cross.
#include <windows.h>

#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

// The dialog's own font with a different size (points, 0 keeps it) or underlined.
unique_hfont DeriveDialogFont(HWND dialog, int points, bool underline);

// A tooltip window owned by the dialog, so it goes when the dialog goes.
HWND CreateTooltips(HWND dialog);
void AddTooltip(HWND tooltips, HWND control, const char* text);

// Shows an error that escaped a handler and ends the program, as any uncaught error does.
[[noreturn]] void FailFromHandler(HWND dialog, const char* what);

} // namespace halcyra::win32
