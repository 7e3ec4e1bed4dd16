#pragma once
// What the running program knows of itself.
#include <cstdint>
#include <string>

namespace halcyra {

// Texts are UTF-8, so that paths outside the system's ANSI code page survive.
class IProgramInfo {
public:
    virtual ~IProgramInfo() = default;
    // The command line after the program's name: the argument text.
    virtual std::string Arguments() const = 0;
    // The folder the program was started from, as the platform reports it.
    virtual std::string Folder() const = 0;
    // The program's own file name without its extension.
    virtual std::string ExeName() const = 0;
    // Whether another copy of this program is already running.
    virtual bool AnotherCopyRunning() = 0;
    // Whether another running copy of this program holds CTRL+ALT and this key.
    virtual bool AnotherCopyHolds(std::uint32_t key) = 0;
};

} // namespace halcyra
