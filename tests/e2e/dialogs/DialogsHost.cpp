// A stand-in for the tray program's main window: shows the About dialog ("about", the
// default) or the Update dialog ("update") modally over an owner window, then ends.
#include <windows.h>

#include "dialogs/win32/Dialogs.h"

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    HWND owner =
        ::CreateWindowExA(0, "STATIC", "Halcyra Dialogs Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                          40, 360, 160, nullptr, nullptr, nullptr, nullptr);
    if (std::strstr(commandLine, "update")) {
        halcyra::win32::ShowUpdateDialog(owner);
    } else {
        halcyra::win32::ShowAboutDialog(owner);
    }
    ::DestroyWindow(owner);
    return 0;
}
