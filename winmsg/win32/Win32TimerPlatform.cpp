#include <windows.h>

#include "winmsg/win32/Win32TimerPlatform.h"

#include <exception>

#include "winmsg/win32/Win32SubclassPlatform.h"

namespace halcyra::win32 {

namespace {

// Called from the thread's message loop at every tick. A ThatTime handler's error must not
// unwind through DispatchMessage, so it only goes to the debugger's output.
VOID CALLBACK TimerCallback(HWND, UINT, UINT_PTR idEvent, DWORD) {
    try {
        TimerModule().TimerProc(idEvent);
    } catch (const std::exception& e) {
        ::OutputDebugStringA("Halcyra: error escaped a timer handler: ");
        ::OutputDebugStringA(e.what());
        ::OutputDebugStringA("\n");
    } catch (...) {
        ::OutputDebugStringA("Halcyra: error escaped a timer handler\n");
    }
}

} // namespace

TimerId Win32TimerPlatform::SetTimer(std::uint32_t milliseconds) {
    return ::SetTimer(nullptr, 0, milliseconds, &TimerCallback);
}

void Win32TimerPlatform::KillTimer(TimerId id) {
    ::KillTimer(nullptr, id);
}

std::string Win32TimerPlatform::ProgramName() {
    return ProgramFileName();
}

MTimer& TimerModule() {
    static Win32TimerPlatform platform;
    static MTimer module(platform);
    return module;
}

} // namespace halcyra::win32
