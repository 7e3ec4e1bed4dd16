#include "settings/Registry.h"

#include <limits>

namespace halcyra {

long Registry::WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                std::string_view valueName, std::string_view value) {
    const RegSecurity notInheritable{};
    RegKey key = 0;
    std::uint32_t disposition = 0;
    const long created = api.RegCreateKeyExA(root, keyPath, 0, nullptr, reg::kOptionNonVolatile,
                                             reg::kAllAccess, &notInheritable, &key, &disposition);
    if (created != reg::kSuccess) {
        return created;
    }
    // REG_SZ data carries its terminating NUL, and the byte count covers it.
    std::string data(value);
    const long result = api.RegSetValueExA(key, valueName, 0, reg::kTypeSz,
                                           reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                           static_cast<std::uint32_t>(data.size() + 1));
    api.RegCloseKey(key);
    return result;
}

RegistryValue Registry::ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                  std::string_view valueName, const RegistryValue& defaultValue) {
    RegistryValue result = defaultValue;
    RegKey key = 0;
    if (api.RegOpenKeyExA(root, keyPath, 0, reg::kQueryValue, &key) != reg::kSuccess) {
        return result;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (api.RegQueryValueExA(key, valueName, &type, nullptr, &size) == reg::kSuccess) {
        if (type == reg::kTypeSz && size < std::numeric_limits<std::uint32_t>::max()) {
            // One spare blank past the data: a value stored without its NUL still ends
            // inside the buffer, and the blank goes with the trailing ones.
            std::string buffer(static_cast<std::size_t>(size) + 1, ' ');
            std::uint32_t dataSize = size;
            if (api.RegQueryValueExA(key, valueName, nullptr,
                                     reinterpret_cast<std::uint8_t*>(buffer.data()),
                                     &dataSize) == reg::kSuccess) {
                const auto last = buffer.find_last_not_of(' ');
                buffer.erase(last == std::string::npos ? 0 : last + 1);
                result = TruncateAtNull(buffer);
            }
        } else if (type == reg::kTypeDword) {
            std::int32_t number = 0;
            std::uint32_t dataSize = sizeof number;
            if (api.RegQueryValueExA(key, valueName, nullptr,
                                     reinterpret_cast<std::uint8_t*>(&number),
                                     &dataSize) == reg::kSuccess) {
                result = number;
            }
        }
    }
    api.RegCloseKey(key);
    return result;
}

std::string Registry::TruncateAtNull(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace halcyra
