#pragma once
// Tells the launcher where its own executable lies.
#include <cstdint>

#include "launcher/LaunchText.h"

namespace halcyra {

class IExecutableLocator {
public:
    virtual ~IExecutableLocator() = default;
    // Fills `path` with the full path of the running executable. Returns 0, or the system error
    // code when the path cannot be read whole.
    virtual std::uint32_t ExecutablePath(LaunchText& path) = 0;
};

} // namespace halcyra
