#pragma once
// IHotkeyApi over user32's RegisterHotKey / UnregisterHotKey.
#include <cstdint>

#include "settings/IHotkeyApi.h"

namespace halcyra::win32 {

class Win32HotkeyApi final : public halcyra::IHotkeyApi {
public:
    // Letters convert to the system's ANSI code page, or to the one named (the system's cannot
    // be changed for a test).
    Win32HotkeyApi();
    explicit Win32HotkeyApi(std::uint32_t codePage) : codePage_(codePage) {}

    std::int32_t RegisterHotKey(WindowHandle hwnd, std::int32_t id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) override;
    std::int32_t UnregisterHotKey(WindowHandle hwnd, std::int32_t id) override;
    std::uint32_t AnsiCodePage() override { return codePage_; }
    std::string AnsiText(std::string_view utf8, std::uint32_t flags, bool* defaultUsed) override;

private:
    std::uint32_t codePage_;
};

} // namespace halcyra::win32
