#include <windows.h>

#include "settings/win32/Win32KeyboardLayout.h"

#include "common/win32/Utf8.h"

namespace halcyra::win32 {

namespace {
// Asks ToUnicodeEx not to change the keyboard state (a pending dead key) where it can.
constexpr UINT kKeepKeyboardState = 0x4;
} // namespace

std::string Win32KeyboardLayout::AltGrText(std::uint32_t virtualKey) {
    const HKL layout = ::GetKeyboardLayout(0);
    BYTE state[256] = {};
    // AltGr is what the layouts see as CTRL+ALT held down (the right ALT sets both).
    state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    state[VK_MENU] = state[VK_RMENU] = 0x80;
    const UINT scanCode = ::MapVirtualKeyExA(virtualKey, MAPVK_VK_TO_VSC, layout);
    wchar_t typed[8] = {};
    int count = ::ToUnicodeEx(virtualKey, scanCode, state, typed, 8, kKeepKeyboardState, layout);
    if (count < 0) {
        // A dead key: it still takes the keystroke; it gives its accent on its own.
        count = 1;
    }
    std::wstring text;
    for (int i = 0; i < count && i < 8; ++i) {
        // CTRL+letter gives control characters on layouts without AltGr: those type nothing.
        if (typed[i] >= 0x20 && typed[i] != 0x7F) {
            text += typed[i];
        }
    }
    return Narrow(text);
}

} // namespace halcyra::win32
