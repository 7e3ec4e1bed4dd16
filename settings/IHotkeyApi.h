#pragma once
// Global hotkey registration, one to one with RegisterHotKey / UnregisterHotKey.
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
    // A stored letter (UTF-8) in the system's ANSI code page; empty when the page has no such
    // character.
    virtual std::string AnsiText(std::string_view utf8) = 0;
};

} // namespace halcyra
