#pragma once
// The windowing services the main window's logic asks of the platform.
#include <cstdint>
#include <string_view>

#include "common/PlatformTypes.h"

namespace halcyra {

// The icon of a message box.
enum class MessageIcon { Information, Question, Exclamation };

// How the user answered a Yes/No box; None when the box could not be shown.
enum class Answer { Yes, No, None };

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // Leaves the apartment the first shell call or screen reader's question entered, if any.
    virtual void UninitializeComApartment() = 0;
    // A modal box with Yes and No, owned by owner.
    virtual Answer AskYesNo(WindowHandle owner, std::string_view text, std::string_view title,
                            MessageIcon icon) = 0;
    // A modal box with OK only, owned by owner.
    virtual void ShowMessage(WindowHandle owner, std::string_view text, std::string_view title,
                             MessageIcon icon) = 0;
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
