#include <windows.h>
#include <commctrl.h>

#include "dialogs/win32/DialogControls.h"

#include "common/win32/BoundProc.h"

namespace halcyra::win32 {

namespace {
// Since Windows 10 (1607); before it every window has the one system density.
BoundProc<UINT(WINAPI*)(HWND)> getDpiForWindow{"user32.dll", "GetDpiForWindow"};
} // namespace

int WindowDensity(HWND window) {
    if (auto forWindow = getDpiForWindow.get()) {
        if (const UINT dpi = forWindow(window)) {
            return static_cast<int>(dpi);
        }
    }
    const int dpi = ::GetDeviceCaps(WindowDC(window).get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

DialogFontBase ReadDialogFont(HWND dialog) {
    DialogFontBase base{};
    auto current = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!current || !::GetObjectA(current, sizeof base.font, &base.font)) {
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof base.font, &base.font);
    }
    base.dpi = WindowDensity(dialog);
    return base;
}

unique_hfont DeriveDialogFont(const DialogFontBase& base, int dpi, int points, bool underline) {
    LOGFONTA font = base.font;
    if (points > 0) {
        font.lfHeight = -::MulDiv(points, dpi, 72);
        font.lfWidth = 0;
    } else if (dpi != base.dpi) {
        font.lfHeight = ::MulDiv(font.lfHeight, dpi, base.dpi);
        font.lfWidth = ::MulDiv(font.lfWidth, dpi, base.dpi);
    }
    font.lfUnderline = underline ? TRUE : FALSE;
    return unique_hfont(::CreateFontIndirectA(&font));
}

HWND CreateTooltips(HWND dialog) {
    return ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

void AddTooltip(HWND tooltips, HWND control, const char* text) {
    TOOLINFOA tool{};
    // The version-2 size is accepted by every common-controls version, with or without a
    // manifest asking for version 6.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    ::SendMessageA(tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace halcyra::win32
