#pragma once
// The tray picture while the computer is kept awake: the tray's own picture with a small sun in
// its top right corner, drawn at run time at whatever size the tray uses, so the program carries
// no second icon for it.
#include <windows.h>

namespace halcyra::win32 {

// A new icon of base's size with the mark drawn over it; the caller destroys it. Null when the
// system refuses any step (the caller then shows base unmarked).
HICON WithAwakeMark(HICON base);

} // namespace halcyra::win32
