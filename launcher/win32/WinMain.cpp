#include <windows.h>

#include "launcher/MainModule.h"
#include "launcher/win32/Win32LauncherPlatform.h"

// The launcher ignores its command line: Halcyra is always started without arguments.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    halcyra::win32::Win32LauncherPlatform platform;
    halcyra::MainModule launcher(platform, platform, platform, platform);
    return launcher.Main();
}
