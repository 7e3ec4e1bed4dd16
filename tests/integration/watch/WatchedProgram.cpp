// Stands in for a long job (a render, a download): it runs until the test ends it. Given a
// title, it shows a window with that title, as a program a user would pick from a list.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR title, int) {
    if (title == nullptr || *title == '\0') {
        ::Sleep(INFINITE);
        return 0;
    }
    ::CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 240, 80,
                      nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&msg);
    }
    return 0;
}
