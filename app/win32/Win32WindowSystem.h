#pragma once
// Message boxes, window messages and the other windowing services, with the real API.
#include <windows.h>

#include "app/IWindowSystem.h"

namespace halcyra::win32 {

class Win32WindowSystem final : public IWindowSystem {
public:
    void InitCommonControls() override;
    int MessageBox(WindowHandle owner, std::string_view text, std::string_view title,
                   std::uint32_t flags) override;
    LResult SendMessage(WindowHandle hwnd, std::uint32_t msg, WParam wParam,
                        LParam lParam) override;
    std::int32_t SetForegroundWindow(WindowHandle hwnd) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t RegisterWindowMessage(std::string_view name) override;
    void DebugOutput(std::string_view text) override;
};

} // namespace halcyra::win32
