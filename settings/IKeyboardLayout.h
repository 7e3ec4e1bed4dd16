#pragma once
// What the active keyboard layout types, as far as the hotkey letters are concerned.
#include <cstdint>
#include <string>

namespace halcyra {

class IKeyboardLayout {
public:
    virtual ~IKeyboardLayout() = default;
    // The text CTRL+ALT+key types on the active layout (where CTRL+ALT is AltGr), in UTF-8;
    // empty when it types nothing printable.
    virtual std::string AltGrText(std::uint32_t virtualKey) = 0;
};

} // namespace halcyra
