#pragma once
// IKeyboardLayout over the thread's active keyboard layout.
#include "settings/IKeyboardLayout.h"

namespace halcyra::win32 {

class Win32KeyboardLayout final : public halcyra::IKeyboardLayout {
public:
    std::string AltGrText(std::uint32_t virtualKey) override;
};

// UTF-8 to the platform's UTF-16, and back, for texts that the ANSI code page may not hold.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

} // namespace halcyra::win32
