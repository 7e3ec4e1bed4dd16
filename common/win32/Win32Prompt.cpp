#include <windows.h>

#include "common/win32/Win32Prompt.h"

#include "common/win32/Utf8.h"

namespace halcyra::win32 {

namespace {

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::None:
        break;
    }
    return 0;
}

// Wide: a program or file name named in the text may be outside the ANSI code page.
int ShowBox(WindowHandle owner, std::string_view text, std::string_view title, UINT flags) {
    const std::wstring body = Widen(text);
    const std::wstring caption = Widen(title);
    return ::MessageBoxW(reinterpret_cast<HWND>(owner), body.c_str(), caption.c_str(), flags);
}

} // namespace

Answer Win32Prompt::Ask(WindowHandle owner, std::string_view text, std::string_view title,
                        MessageIcon icon) {
    switch (ShowBox(owner, text, title, MB_YESNO | IconFlag(icon))) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::None;
    }
}

void Win32Prompt::Tell(WindowHandle owner, std::string_view text, std::string_view title,
                       MessageIcon icon) {
    ShowBox(owner, text, title, MB_OK | IconFlag(icon));
}

} // namespace halcyra::win32
