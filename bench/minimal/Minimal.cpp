// The yardstick for Halcyra's start-up: the least a Win32 program does to put one window on
// the screen, or with "/start" one hidden window and a notification-area icon. Ends when its
// window is closed.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {

NOTIFYICONDATAA g_icon{};

LRESULT CALLBACK MinimalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        if (g_icon.hWnd) {
            Shell_NotifyIconA(NIM_DELETE, &g_icon);
        }
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MinimalProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BenchMinimal";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "BenchMinimal", "Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        return 1;
    }
    if (std::strcmp(commandLine, "/start") == 0) {
        g_icon.cbSize = sizeof(g_icon);
        g_icon.hWnd = hwnd;
        g_icon.uID = 1;
        g_icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        g_icon.uCallbackMessage = WM_MOUSEMOVE;
        g_icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        std::strcpy(g_icon.szTip, "Minimal");
        Shell_NotifyIconA(NIM_ADD, &g_icon);
    } else {
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
