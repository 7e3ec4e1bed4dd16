#include "common/Registry.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace halcyra::registry {

namespace {

constexpr std::uint32_t kQueryValue = 0x0001; // KEY_QUERY_VALUE
constexpr std::uint32_t kSetValue = 0x0002;   // KEY_SET_VALUE
constexpr std::uint32_t kAllAccess = 0xF003F; // KEY_ALL_ACCESS

constexpr std::uint32_t Mask(Access access) {
    switch (access) {
    case Access::Read:
        return kQueryValue;
    case Access::Write:
        return kSetValue;
    case Access::All:
        break;
    }
    return kAllAccess;
}

// A value's bytes, asked for with the size the type-and-size question gave. One spare byte
// past the data: a value stored without its NUL still ends inside the buffer.
std::optional<std::string> ReadSized(IRegistryApi& api, const RegistryKey& key,
                                     std::string_view valueName, std::uint32_t size) {
    if (size == std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
    std::uint32_t dataSize = size;
    if (api.RegQueryValueExW(key.Get(), valueName, nullptr,
                             reinterpret_cast<std::uint8_t*>(buffer.data()),
                             &dataSize) != reg::kSuccess) {
        return std::nullopt;
    }
    buffer.resize(std::min(dataSize, size));
    return buffer;
}

} // namespace

RegistryKey OpenKey(IRegistryApi& api, RegKey root, std::string_view keyPath, Access access,
                    long* status) {
    RegKey key = 0;
    const long opened = api.RegOpenKeyExW(root, keyPath, 0, Mask(access), &key);
    if (status != nullptr) {
        *status = opened;
    }
    return opened == reg::kSuccess ? RegistryKey(api, key) : RegistryKey();
}

RegistryKey CreateKey(IRegistryApi& api, RegKey root, std::string_view keyPath, Access access,
                      long* status) {
    const RegSecurity notInheritable{};
    RegKey key = 0;
    std::uint32_t disposition = 0;
    const long created = api.RegCreateKeyExW(root, keyPath, 0, nullptr, reg::kOptionNonVolatile,
                                             Mask(access), &notInheritable, &key, &disposition);
    if (status != nullptr) {
        *status = created;
    }
    return created == reg::kSuccess ? RegistryKey(api, key) : RegistryKey();
}

long WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                      std::string_view valueName, std::string_view value, Access access) {
    long status = reg::kSuccess;
    const RegistryKey key = CreateKey(api, root, keyPath, access, &status);
    if (!key) {
        return status;
    }
    // REG_SZ data carries its terminating NUL, and the byte count covers it.
    const std::string data(value);
    return api.RegSetValueExW(key.Get(), valueName, 0, reg::kTypeSz,
                              reinterpret_cast<const std::uint8_t*>(data.c_str()),
                              static_cast<std::uint32_t>(data.size() + 1));
}

std::optional<StoredValue> Read(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                std::string_view valueName,
                                std::optional<std::uint32_t> bufferSize) {
    const RegistryKey key = OpenKey(api, root, keyPath, Access::Read);
    if (!key) {
        return std::nullopt;
    }
    StoredValue value;
    if (bufferSize) {
        value.bytes.assign(*bufferSize, '\0');
        std::uint32_t size = *bufferSize;
        if (api.RegQueryValueExW(key.Get(), valueName, &value.type,
                                 reinterpret_cast<std::uint8_t*>(value.bytes.data()),
                                 &size) != reg::kSuccess) {
            return std::nullopt;
        }
        value.bytes.resize(std::min(size, *bufferSize));
        return value;
    }
    std::uint32_t size = 0;
    if (api.RegQueryValueExW(key.Get(), valueName, &value.type, nullptr, &size) != reg::kSuccess) {
        return std::nullopt;
    }
    if (value.type == reg::kTypeSz || value.type == reg::kTypeDword) {
        auto bytes = ReadSized(api, key, valueName, size);
        if (!bytes) {
            return std::nullopt;
        }
        value.bytes = std::move(*bytes);
    }
    return value;
}

RegistryValue ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                        std::string_view valueName, const RegistryValue& defaultValue) {
    const auto stored = Read(api, root, keyPath, valueName);
    if (!stored) {
        return defaultValue;
    }
    if (stored->type == reg::kTypeSz) {
        // Trailing blanks go first, the cut at the first NUL comes second.
        std::string text = stored->bytes;
        text.erase(text.find_last_not_of(' ') + 1);
        return TruncateAtNull(text);
    }
    if (stored->type == reg::kTypeDword && stored->bytes.size() <= sizeof(std::int32_t)) {
        // Little-endian, as stored; a shorter value fills the low bytes only.
        std::int32_t number = 0;
        std::memcpy(&number, stored->bytes.data(), stored->bytes.size());
        return number;
    }
    return defaultValue;
}

void DeleteValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                 std::string_view valueName) {
    if (const RegistryKey key = OpenKey(api, root, keyPath, Access::All)) {
        api.RegDeleteValueW(key.Get(), valueName);
    }
}

std::string TruncateAtNull(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace halcyra::registry
