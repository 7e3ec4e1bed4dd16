#pragma once
#include "dialogs/IRegistryApi.h"

namespace halcyra::win32 {

class Win32RegistryApi : public dialogs::IRegistryApi {
public:
    long OpenKey(std::uint32_t root, const std::string& path, std::uint32_t options,
                 std::uint32_t access, dialogs::RegistryKey& key) override;
    long QueryValue(dialogs::RegistryKey key, const std::string& name, std::uint32_t& type,
                    char* buffer, std::uint32_t& size) override;
    long CloseKey(dialogs::RegistryKey key) override;
};

} // namespace halcyra::win32
