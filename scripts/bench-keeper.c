/* Keeps the bench's Wine desktop and its taskbar alive between test programs: Wine ends the
   desktop when no program has a window on it. Owns one hidden window until it is killed. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show) {
    (void)prev;
    (void)cmd;
    (void)show;
    HWND keeper = CreateWindowA("STATIC", "HalcyraBenchKeeper", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                instance, NULL);
    MSG msg;
    if (!keeper)
        return 1;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
