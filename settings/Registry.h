#pragma once
// Writes one string value and reads one value back with a caller-given default. Stateless.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "settings/IRegistryApi.h"

namespace halcyra {

// Text or a 32-bit integer; ReadValue hands back the caller's default exactly as given when
// there is nothing to read, so callers compare the result with their default.
using RegistryValue = std::variant<std::string, std::int32_t>;

class Registry {
public:
    // Creates every missing level of keyPath. 0 on success, else the platform's code.
    static long WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                 std::string_view valueName, std::string_view value);
    // REG_SZ as text (trailing blanks removed, cut at the first NUL), REG_DWORD as an
    // integer, anything else or any failure as defaultValue.
    static RegistryValue ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                   std::string_view valueName, const RegistryValue& defaultValue);
    static std::string TruncateAtNull(std::string_view text);
};

} // namespace halcyra
