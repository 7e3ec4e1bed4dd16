#pragma once
// COM's single-threaded apartment on the window's thread, entered where a shell call or a screen
// reader's question first needs it (ShellExecute's mail and web handlers may use COM; an
// accessible object is marshalled through it) and left once at exit. ole32 is bound at
// that first use, so a start in the tray never loads it.
#include <windows.h>
#include <objbase.h>

#include "common/win32/BoundProc.h"

namespace halcyra::win32::com {

inline BoundProc<HRESULT(WINAPI*)(void*, DWORD)> coInitializeEx{"ole32.dll", "CoInitializeEx"};
inline BoundProc<void(WINAPI*)()> coUninitialize{"ole32.dll", "CoUninitialize"};
// The programs have one thread. Each successful entry (S_FALSE too) is balanced by one leave.
inline bool entered = false;

inline void EnterApartment() {
    if (entered) {
        return;
    }
    // As the shell asks of ShellExecute's callers: apartment-threaded, without OLE1 DDE.
    if (auto fn = coInitializeEx.get()) {
        entered = SUCCEEDED(fn(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
}

inline void LeaveApartment() {
    if (!entered) {
        return;
    }
    entered = false;
    if (auto fn = coUninitialize.get()) {
        fn();
    }
}

} // namespace halcyra::win32::com
