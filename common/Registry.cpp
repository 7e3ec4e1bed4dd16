#include "common/Registry.h"

#include <algorithm>
#include <limits>

namespace halcyra {

namespace {

// A REG_SZ value's bytes, asked for with the size the type-and-size question gave. One spare
// byte past the data: a value stored without its NUL still ends inside the buffer.
std::optional<std::string> ReadText(IRegistryApi& api, const RegistryKey& key,
                                    std::string_view valueName, std::uint32_t size) {
    if (size == std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
    std::uint32_t dataSize = size;
    if (api.RegQueryValueExA(key.Get(), valueName, nullptr,
                             reinterpret_cast<std::uint8_t*>(buffer.data()),
                             &dataSize) != reg::kSuccess) {
        return std::nullopt;
    }
    buffer.resize(std::min(dataSize, size));
    return buffer;
}

} // namespace

RegistryKey Registry::OpenKey(IRegistryApi& api, RegKey root, std::string_view keyPath,
                              std::uint32_t access, long* status) {
    RegKey key = 0;
    const long opened = api.RegOpenKeyExA(root, keyPath, 0, access, &key);
    if (status != nullptr) {
        *status = opened;
    }
    return opened == reg::kSuccess ? RegistryKey(api, key) : RegistryKey();
}

RegistryKey Registry::CreateKey(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                std::uint32_t access, long* status) {
    const RegSecurity notInheritable{};
    RegKey key = 0;
    std::uint32_t disposition = 0;
    const long created = api.RegCreateKeyExA(root, keyPath, 0, nullptr, reg::kOptionNonVolatile,
                                             access, &notInheritable, &key, &disposition);
    if (status != nullptr) {
        *status = created;
    }
    return created == reg::kSuccess ? RegistryKey(api, key) : RegistryKey();
}

long Registry::WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                std::string_view valueName, std::string_view value,
                                std::uint32_t access) {
    long status = reg::kSuccess;
    const RegistryKey key = CreateKey(api, root, keyPath, access, &status);
    if (!key) {
        return status;
    }
    // REG_SZ data carries its terminating NUL, and the byte count covers it.
    const std::string data(value);
    return api.RegSetValueExA(key.Get(), valueName, 0, reg::kTypeSz,
                              reinterpret_cast<const std::uint8_t*>(data.c_str()),
                              static_cast<std::uint32_t>(data.size() + 1));
}

RegistryValue Registry::ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                  std::string_view valueName, const RegistryValue& defaultValue) {
    const RegistryKey key = OpenKey(api, root, keyPath, reg::kQueryValue);
    if (!key) {
        return defaultValue;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (api.RegQueryValueExA(key.Get(), valueName, &type, nullptr, &size) != reg::kSuccess) {
        return defaultValue;
    }
    if (type == reg::kTypeSz) {
        if (auto text = ReadText(api, key, valueName, size)) {
            // Trailing blanks go first, the cut at the first NUL comes second.
            text->erase(text->find_last_not_of(' ') + 1);
            return TruncateAtNull(*text);
        }
    } else if (type == reg::kTypeDword) {
        std::int32_t number = 0;
        std::uint32_t dataSize = sizeof number;
        if (api.RegQueryValueExA(key.Get(), valueName, nullptr,
                                 reinterpret_cast<std::uint8_t*>(&number),
                                 &dataSize) == reg::kSuccess) {
            return number;
        }
    }
    return defaultValue;
}

std::optional<std::string> Registry::ReadString(IRegistryApi& api, RegKey root,
                                                std::string_view keyPath,
                                                std::string_view valueName) {
    const RegistryKey key = OpenKey(api, root, keyPath, reg::kQueryValue);
    if (!key) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (api.RegQueryValueExA(key.Get(), valueName, &type, nullptr, &size) != reg::kSuccess ||
        type != reg::kTypeSz) {
        return std::nullopt;
    }
    auto text = ReadText(api, key, valueName, size);
    if (text) {
        *text = TruncateAtNull(*text);
    }
    return text;
}

std::optional<StoredValue> Registry::ReadStored(IRegistryApi& api, RegKey root,
                                                std::string_view keyPath,
                                                std::string_view valueName,
                                                std::uint32_t bufferSize) {
    // Read access only: a standard user may not write below HKEY_LOCAL_MACHINE, and asking for
    // more would make a value there look missing to them.
    const RegistryKey key = OpenKey(api, root, keyPath, reg::kQueryValue);
    if (!key) {
        return std::nullopt;
    }
    StoredValue value;
    value.bytes.assign(bufferSize, '\0');
    std::uint32_t size = bufferSize;
    if (api.RegQueryValueExA(key.Get(), valueName, &value.type,
                             reinterpret_cast<std::uint8_t*>(value.bytes.data()),
                             &size) != reg::kSuccess) {
        return std::nullopt;
    }
    value.bytes.resize(std::min(size, bufferSize));
    return value;
}

void Registry::DeleteValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                           std::string_view valueName) {
    if (const RegistryKey key = OpenKey(api, root, keyPath, reg::kAllAccess)) {
        api.RegDeleteValueA(key.Get(), valueName);
    }
}

std::string Registry::TruncateAtNull(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

} // namespace halcyra
