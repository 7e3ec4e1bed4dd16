#pragma once
// Writes one string value and reads one value back with a caller-given default.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "settings/IRegistryApi.h"

namespace halcyra {

// Text, a 32-bit integer, or the caller's default exactly as given.
using RegistryValue = std::variant<std::string, std::int32_t>;

class Registry {
public:
    static long WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                 std::string_view valueName, std::string_view value);
    static RegistryValue ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                   std::string_view valueName, const RegistryValue& defaultValue);
    static std::string TruncateAtNull(std::string_view text);
};

} // namespace halcyra
