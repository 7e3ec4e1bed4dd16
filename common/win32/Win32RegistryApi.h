#pragma once
// IRegistryApi over advapi32's wide registry functions, text converted from and to UTF-8.
#include "common/IRegistryApi.h"

namespace halcyra::win32 {

class Win32RegistryApi final : public halcyra::IRegistryApi {
public:
    long RegCreateKeyExW(RegKey root, std::string_view subKey, std::uint32_t reserved,
                         const char* className, std::uint32_t options, std::uint32_t access,
                         const RegSecurity* security, RegKey* result,
                         std::uint32_t* disposition) override;
    long RegSetValueExW(RegKey key, std::string_view valueName, std::uint32_t reserved,
                        std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override;
    long RegOpenKeyExW(RegKey root, std::string_view subKey, std::uint32_t options,
                       std::uint32_t access, RegKey* result) override;
    long RegQueryValueExW(RegKey key, std::string_view valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override;
    long RegDeleteValueW(RegKey key, std::string_view valueName) override;
    long RegCloseKey(RegKey key) override;
};

} // namespace halcyra::win32
