#pragma once
// Whether the user asked for a high-contrast theme: then whatever the program colours itself
// takes the system's colours instead of its designed ones.
#include <windows.h>

namespace halcyra::win32 {

inline bool SystemHighContrast() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The question asked, replaceable because some systems (Wine among them) cannot switch the
// theme on for a test.
inline bool (*highContrastProbe)() = SystemHighContrast;

// The designed colour, or the system colour that stands for it in a high-contrast theme.
inline COLORREF ContrastColour(COLORREF designed, int systemColour) {
    return highContrastProbe() ? ::GetSysColor(systemColour) : designed;
}

} // namespace halcyra::win32
