#pragma once
// Window messages and the other windowing services, with the real API.
#include <windows.h>

#include "common/IWindowSystem.h"

namespace halcyra::win32 {

class Win32WindowSystem final : public IWindowSystem {
public:
    Win32WindowSystem() = default;
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    void UninitializeComApartment() override;
    void SendSystemCommand(WindowHandle hwnd, WParam command, LParam lParam) override;
    std::int32_t SetForegroundWindow(WindowHandle hwnd) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t RegisterMessageName(std::string_view name) override;
    void DebugOutput(std::string_view text) override;
};

} // namespace halcyra::win32
