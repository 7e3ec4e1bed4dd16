#pragma once
// The system's own description of an error code.
#include <cstdint>

#include "launcher/LaunchText.h"

namespace halcyra {

class ISystemErrorText {
public:
    virtual ~ISystemErrorText() = default;
    // Fills `text` with the system's description of `code`; leaves it empty when there is none.
    virtual void DescribeError(std::uint32_t code, LaunchText& text) = 0;
};

} // namespace halcyra
