#pragma once
// Global hotkey registration, one to one with RegisterHotKey / UnregisterHotKey, and the
// conversion of a stored letter to the code page those calls take its key in.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/PlatformTypes.h"

namespace halcyra {

class IHotkeyApi {
public:
    virtual ~IHotkeyApi() = default;
    // Nonzero on success.
    virtual std::int32_t RegisterHotKey(WindowHandle hwnd, std::int32_t id, std::uint32_t modifiers,
                                        std::uint32_t virtualKey) = 0;
    virtual std::int32_t UnregisterHotKey(WindowHandle hwnd, std::int32_t id) = 0;
    // The system's ANSI code page: 1252, 65001 where "Use Unicode UTF-8" is on, ...
    virtual std::uint32_t AnsiCodePage() = 0;
    // A stored letter (UTF-8) in the ANSI code page, as WideCharToMultiByte makes it with these
    // flags; with defaultUsed, also whether a character had to be replaced. Empty when the call
    // fails (a code page refuses flags or the question it cannot answer).
    virtual std::string AnsiText(std::string_view utf8, std::uint32_t flags, bool* defaultUsed) = 0;
};

} // namespace halcyra
