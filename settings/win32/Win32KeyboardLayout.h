#pragma once
// IKeyboardLayout over the thread's active keyboard layout.
#include "settings/IKeyboardLayout.h"

namespace halcyra::win32 {

class Win32KeyboardLayout final : public halcyra::IKeyboardLayout {
public:
    std::string AltGrText(std::uint32_t virtualKey) override;
};

} // namespace halcyra::win32
