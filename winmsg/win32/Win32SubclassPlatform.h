#pragma once
// The subclassing module wired to the real Win32 calls.
#include <cstdint>
#include <string>

#include "winmsg/ISubclassPlatform.h"
#include "winmsg/MSubclass.h"

namespace halcyra::win32 {

class Win32SubclassPlatform final : public ISubclassPlatform {
public:
    bool IsWindow(WindowHandle hwnd) override;
    std::uint32_t WindowProcessId(WindowHandle hwnd) override;
    std::uint32_t CurrentProcessId() override;
    std::uintptr_t GetProperty(WindowHandle hwnd, const std::string& name) override;
    void SetProperty(WindowHandle hwnd, const std::string& name, std::uintptr_t value) override;
    void RemoveProperty(WindowHandle hwnd, const std::string& name) override;
    WindowProcAddress ReplacementWindowProc() override;
    WindowProcAddress InstallWindowProc(WindowHandle hwnd, WindowProcAddress proc) override;
    LResult CallWindowProcedure(WindowProcAddress proc, WindowHandle hwnd, std::uint32_t msg,
                                WParam wParam, LParam lParam) override;
    std::string ProgramName() override;
};

// The process-wide module behind the replacement window procedure.
MSubclass& SubclassModule();

// The file name of the running program without directory and extension.
std::string ProgramFileName();

} // namespace halcyra::win32
