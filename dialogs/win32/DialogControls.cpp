#include <windows.h>
#include <commctrl.h>

#include "dialogs/win32/DialogControls.h"

namespace halcyra::win32 {

unique_hfont DeriveDialogFont(HWND dialog, int points, bool underline) {
    LOGFONTA font{};
    auto current = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!current || !::GetObjectA(current, sizeof font, &font)) {
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    if (points > 0) {
        font.lfHeight = -::MulDiv(points, ::GetDeviceCaps(WindowDC(dialog).get(), LOGPIXELSY), 72);
        font.lfWidth = 0;
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
