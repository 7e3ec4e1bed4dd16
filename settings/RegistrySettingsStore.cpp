#include "settings/RegistrySettingsStore.h"

#include <limits>

namespace halcyra {

std::string RegistrySettingsStore::KeyPath(std::string_view app, std::string_view section) {
    std::string path = "Software\\";
    path.append(app).append("\\").append(section);
    return path;
}

std::string RegistrySettingsStore::GetSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultValue) {
    std::string result(defaultValue);
    RegKey handle = 0;
    if (api_.RegOpenKeyExA(reg::kCurrentUser, KeyPath(app, section), 0, reg::kQueryValue,
                           &handle) != reg::kSuccess) {
        return result;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (api_.RegQueryValueExA(handle, key, &type, nullptr, &size) == reg::kSuccess &&
        type == reg::kTypeSz && size < std::numeric_limits<std::uint32_t>::max()) {
        std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
        std::uint32_t dataSize = size;
        if (api_.RegQueryValueExA(handle, key, nullptr,
                                  reinterpret_cast<std::uint8_t*>(buffer.data()),
                                  &dataSize) == reg::kSuccess) {
            // Text ends at its first NUL; the spare byte holds one even when the value
            // was stored without its terminator.
            buffer.resize(dataSize < size ? dataSize : size);
            result = buffer.substr(0, buffer.find('\0'));
        }
    }
    api_.RegCloseKey(handle);
    return result;
}

void RegistrySettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view value) {
    const RegSecurity notInheritable{};
    RegKey handle = 0;
    std::uint32_t disposition = 0;
    if (api_.RegCreateKeyExA(reg::kCurrentUser, KeyPath(app, section), 0, nullptr,
                             reg::kOptionNonVolatile, reg::kSetValue, &notInheritable, &handle,
                             &disposition) != reg::kSuccess) {
        return;
    }
    const std::string data(value);
    api_.RegSetValueExA(handle, key, 0, reg::kTypeSz,
                        reinterpret_cast<const std::uint8_t*>(data.c_str()),
                        static_cast<std::uint32_t>(data.size() + 1));
    api_.RegCloseKey(handle);
}

} // namespace halcyra
