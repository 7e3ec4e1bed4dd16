#pragma once
// IHotkeyApi over user32's RegisterHotKey / UnregisterHotKey.
#include "settings/IHotkeyApi.h"

namespace halcyra::win32 {

class Win32HotkeyApi final : public halcyra::IHotkeyApi {
public:
    std::int32_t RegisterHotKey(WindowHandle hwnd, std::int32_t id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) override;
    std::int32_t UnregisterHotKey(WindowHandle hwnd, std::int32_t id) override;
    std::string AnsiText(std::string_view utf8) override;
};

} // namespace halcyra::win32
