#include "commandline/ForwardRecord.h"

namespace halcyra::forward {

namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t Get(std::string_view in, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    }
    return value;
}

// Well-formed UTF-8 (shortest forms, no surrogates) without control characters.
bool ValidText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            return false;
        }
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, code = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, code = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, code = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

std::string Encode(RecordKind kind, std::string_view text) {
    std::string out;
    Put(out, kVersion, 2);
    Put(out, static_cast<std::uint16_t>(kind), 2);
    Put(out, static_cast<std::uint32_t>(text.size()), 4);
    out += text;
    return out;
}

std::optional<std::string> Decode(RecordKind kind, std::string_view bytes) {
    if (bytes.size() < kHeaderSize || Get(bytes, 0, 2) != kVersion ||
        Get(bytes, 2, 2) != static_cast<std::uint16_t>(kind)) {
        return std::nullopt;
    }
    const std::uint32_t length = Get(bytes, 4, 4);
    if (length == 0 || length > kMaxText || bytes.size() - kHeaderSize != length) {
        return std::nullopt;
    }
    const std::string_view text = bytes.substr(kHeaderSize);
    if (!ValidText(text)) {
        return std::nullopt;
    }
    return std::string(text);
}

} // namespace halcyra::forward
