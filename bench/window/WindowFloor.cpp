// The yardstick for Halcyra's shown window: the same window (class styles, menu, icons,
// controls, font and manifest) put on the screen by a program that does nothing else: no
// settings, registry, hotkeys, tray icon or subclassing. Ends when its window is closed.
// The layout is the program's own (app/win32/MainWindowLayout.h).
#include <windows.h>
#include <commctrl.h>

#include "app/ControlIds.h"
#include "app/win32/MainWindowLayout.h"
#include "common/win32/ResourceIds.h"

namespace {

using namespace halcyra::win32::layout;

int g_dpi = 96;

int Pixels(int twips) {
    return MulDiv(twips, g_dpi, 1440);
}

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    HDC screen = GetDC(nullptr);
    g_dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (g_dpi <= 0) {
        g_dpi = 96;
    }
    HICON bigIcon = LoadIconSized(instance, IDI_HALCYRA, GetSystemMetrics(SM_CXICON));
    HICON smallIcon = LoadIconSized(instance, IDI_HALCYRA, GetSystemMetrics(SM_CXSMICON));
    HICON trayImage = LoadIconSized(instance, IDI_HALCYRA_TRAY, 16);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hIcon = bigIcon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "BenchWindowFloor";
    RegisterClassExA(&wc);

    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_HALCYRA_MENU));
    RECT frame{0, 0, Pixels(kClientWidthTwips), Pixels(kClientHeightTwips)};
    AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    HWND hwnd = CreateWindowExA(0, "BenchWindowFloor", "Halcyra", kStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, menu, instance, nullptr);
    if (!hwnd) {
        return 1;
    }
    HFONT font = CreateFontA(-MulDiv(825, g_dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
    for (const auto& c : kControls) {
        HWND control =
            CreateWindowExA(0, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style,
                            Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height), hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SendDlgItemMessageA(hwnd, ID_HALCYRAIMAGE, STM_SETICON, reinterpret_cast<WPARAM>(trayImage), 0);
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(hwnd, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(font);
    return 0;
}
