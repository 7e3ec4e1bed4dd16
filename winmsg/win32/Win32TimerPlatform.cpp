#include <windows.h>

#include "winmsg/win32/Win32TimerPlatform.h"

#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"
#include "winmsg/win32/Win32SubclassPlatform.h"

namespace halcyra::win32 {

namespace {

// Called from the thread's message loop at every tick. A ThatTime handler's error ends the
// program as from any other handler; a thread timer has no window to own the box.
VOID CALLBACK TimerCallback(HWND, UINT, UINT_PTR idEvent, DWORD) {
    Guarded(nullptr, [&] { TimerModule().TimerProc(idEvent); });
}

} // namespace

TimerId Win32TimerPlatform::SetTimer(std::uint32_t milliseconds) {
    return ::SetTimer(nullptr, 0, milliseconds, &TimerCallback);
}

void Win32TimerPlatform::KillTimer(TimerId id) {
    ::KillTimer(nullptr, id);
}

std::string Win32TimerPlatform::ProgramName() {
    return win32::ProgramName();
}

MTimer& TimerModule() {
    static Win32TimerPlatform platform;
    static MTimer module(platform);
    return module;
}

} // namespace halcyra::win32
