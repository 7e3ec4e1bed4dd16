#pragma once
// What the subclassing module needs of the windowing platform. The names stay clear of the
// <windows.h> macros (GetProp, SetProp, CallWindowProc) so that an adapter can include both.
#include <cstdint>
#include <string>

#include "common/PlatformTypes.h"

namespace halcyra {

class ISubclassPlatform {
public:
    virtual ~ISubclassPlatform() = default;

    virtual bool IsWindow(WindowHandle hwnd) = 0;
    virtual std::uint32_t WindowProcessId(WindowHandle hwnd) = 0;
    virtual std::uint32_t CurrentProcessId() = 0;

    // The window's named properties; a missing entry reads as 0.
    virtual std::uintptr_t GetProperty(WindowHandle hwnd, const std::string& name) = 0;
    virtual void SetProperty(WindowHandle hwnd, const std::string& name, std::uintptr_t value) = 0;
    virtual void RemoveProperty(WindowHandle hwnd, const std::string& name) = 0;

    // The address of the one replacement procedure shared by every subclassed window.
    virtual WindowProcAddress ReplacementWindowProc() = 0;
    // Installs proc as the window's procedure; returns the previous one, 0 on failure.
    virtual WindowProcAddress InstallWindowProc(WindowHandle hwnd, WindowProcAddress proc) = 0;
    virtual LResult CallWindowProcedure(WindowProcAddress proc, WindowHandle hwnd,
                                        std::uint32_t msg, WParam wParam, LParam lParam) = 0;

    // The program's file name without directory and extension, the source of raised errors.
    virtual std::string ProgramName() = 0;
};

} // namespace halcyra
