#pragma once
// The record in which a second copy hands its command line to the running one, and in which
// the running one hands back the text to print. Little-endian, in this order: version (16
// bits), kind (16 bits), the text's length in bytes (32 bits), the text (UTF-8, no control
// characters, no terminating zero). Anything else is refused whole.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halcyra::forward {

// Marks our records among the WM_COPYDATA other programs may send ("HCR").
inline constexpr std::uint32_t kCopyDataId = 0x00484352;
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kMaxText = 1024;

enum class RecordKind : std::uint16_t {
    Command = 1, // a command line, to the running copy
    Output = 2,  // what the second copy is to print, back to it
};

// The running copy's answer to WM_COPYDATA: 0 when it did not take the record, else this
// plus the exit code.
inline constexpr std::intptr_t kTaken = 0x100;

std::string Encode(RecordKind kind, std::string_view text);
// The text, when bytes is a well-formed record of that kind.
std::optional<std::string> Decode(RecordKind kind, std::string_view bytes);

} // namespace halcyra::forward
