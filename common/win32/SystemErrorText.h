#pragma once
// What the system says about one of its error codes, for the user to read.
#include <cstdint>
#include <string>

namespace halcyra::win32 {

// The system's sentence in UTF-8, without the line break it ends with; empty for a code the
// system has no text for.
std::string SystemErrorText(std::uint32_t error);

} // namespace halcyra::win32
