#include <windows.h>

#include "dialogs/win32/Win32MessageBox.h"

namespace halcyra::win32 {

void Win32MessageBox::ShowPlain(WindowHandle owner, const std::string& text,
                                const std::string& title) {
    ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(), MB_OK);
}

} // namespace halcyra::win32
