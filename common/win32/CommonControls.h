#pragma once
// The common-controls library, bound at its first use rather than imported. Loading it (the
// control classes and their theming) costs a program about 2 MB of memory and some
// milliseconds at start; a start in the tray needs none of it until a window with controls is
// shown.
#include <windows.h>
#include <commctrl.h>

#include "common/win32/BoundProc.h"

namespace halcyra::win32::comctl {

// Version 6, which the manifest names, not the older copy in the system folder.
inline constexpr LibrarySource kSource = LibrarySource::SideBySide;

inline BoundProc<void(WINAPI*)()> initCommonControls{"comctl32.dll", "InitCommonControls", kSource};
inline BoundProc<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)> initCommonControlsEx{
    "comctl32.dll", "InitCommonControlsEx", kSource};
inline BoundProc<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)> setWindowSubclass{
    "comctl32.dll", "SetWindowSubclass", kSource};
inline BoundProc<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)> removeWindowSubclass{
    "comctl32.dll", "RemoveWindowSubclass", kSource};
inline BoundProc<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)> defSubclassProc{
    "comctl32.dll", "DefSubclassProc", kSource};

// Makes the control classes ready; called before the first control of a window is made.
inline void InitCommonControls() {
    if (auto fn = initCommonControls.get()) {
        fn();
    }
}

inline void InitCommonControlsEx(DWORD classes) {
    if (auto fn = initCommonControlsEx.get()) {
        const INITCOMMONCONTROLSEX init{sizeof init, classes};
        fn(&init);
    }
}

inline BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    auto fn = setWindowSubclass.get();
    return fn ? fn(hwnd, proc, id, data) : FALSE;
}

inline BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    auto fn = removeWindowSubclass.get();
    return fn ? fn(hwnd, proc, id) : FALSE;
}

inline LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto fn = defSubclassProc.get();
    return fn ? fn(hwnd, message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace halcyra::win32::comctl
