#pragma once
// The windowing services the main window's logic asks of the platform; its boxes go
// through IPrompt.
#include <cstdint>
#include <string_view>

#include "common/PlatformTypes.h"

namespace halcyra {

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // Leaves the apartment the first shell call or screen reader's question entered, if any.
    virtual void UninitializeComApartment() = 0;
    // A system-menu command (SC_...) sent to the window, as if chosen from its window menu.
    virtual void SendSystemCommand(WindowHandle hwnd, WParam command, LParam lParam) = 0;
    virtual std::int32_t SetForegroundWindow(WindowHandle hwnd) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // The number of the message registered under name, 0 when it cannot be registered.
    virtual std::uint32_t RegisterMessageName(std::string_view name) = 0;
    // Where failures that the user is not told about still go (a debugger's output).
    virtual void DebugOutput(std::string_view text) = 0;
};

} // namespace halcyra
