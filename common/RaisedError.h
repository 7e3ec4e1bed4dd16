#pragma once
// The error that the message plumbing raises on misuse: a number (0x80040000 plus a code),
// a source text and a description, like an object-defined COM error.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace halcyra {

constexpr std::int32_t ObjectErrorNumber(std::int32_t code) {
    return static_cast<std::int32_t>(0x80040000u + static_cast<std::uint32_t>(code));
}

class RaisedError : public std::runtime_error {
public:
    RaisedError(std::int32_t number, std::string source, std::string description);

    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

} // namespace halcyra
