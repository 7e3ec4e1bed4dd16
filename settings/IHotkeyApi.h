#pragma once
// Global hotkey registration, one to one with RegisterHotKey / UnregisterHotKey.
#include <cstdint>

#include "common/PlatformTypes.h"

namespace halcyra {

class IHotkeyApi {
public:
    virtual ~IHotkeyApi() = default;
    // Nonzero on success.
    virtual std::int32_t RegisterHotKey(WindowHandle hwnd, std::int32_t id, std::uint32_t modifiers,
                                        std::uint32_t virtualKey) = 0;
    virtual std::int32_t UnregisterHotKey(WindowHandle hwnd, std::int32_t id) = 0;
};

} // namespace halcyra
