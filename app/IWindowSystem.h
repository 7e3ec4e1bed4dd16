#pragma once
// The windowing services the main window's logic asks of the platform.
#include <cstdint>
#include <string_view>

#include "common/PlatformTypes.h"

namespace halcyra {

namespace mb {
inline constexpr std::uint32_t kOk = 0x00;              // MB_OK
inline constexpr std::uint32_t kYesNo = 0x04;           // MB_YESNO
inline constexpr std::uint32_t kIconExclamation = 0x30; // MB_ICONEXCLAMATION
inline constexpr std::uint32_t kIconQuestion = 0x20;    // MB_ICONQUESTION
inline constexpr std::uint32_t kIconInformation = 0x40; // MB_ICONINFORMATION
inline constexpr int kYes = 6;                          // IDYES
inline constexpr int kNo = 7;                           // IDNO
} // namespace mb

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    virtual void InitCommonControls() = 0;
    // The shell's handlers of mail and web links may need COM on the calling thread.
    virtual void InitializeComApartment() = 0;
    virtual void UninitializeComApartment() = 0;
    // The answer's button number (IDYES, IDNO ...).
    virtual int MessageBox(WindowHandle owner, std::string_view text, std::string_view title,
                           std::uint32_t flags) = 0;
    virtual LResult SendMessage(WindowHandle hwnd, std::uint32_t msg, WParam wParam,
                                LParam lParam) = 0;
    virtual std::int32_t SetForegroundWindow(WindowHandle hwnd) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual std::uint32_t RegisterWindowMessage(std::string_view name) = 0;
    // Where failures that the user is not told about still go (a debugger's output).
    virtual void DebugOutput(std::string_view text) = 0;
};

} // namespace halcyra
