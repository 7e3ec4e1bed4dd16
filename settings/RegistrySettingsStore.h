#pragma once
// The settings store kept in the registry: REG_SZ values under
// HKEY_CURRENT_USER\Software\<app>\<section>, one value per key.
#include "common/IRegistryApi.h"
#include "settings/ISettingsStore.h"

namespace halcyra {

class RegistrySettingsStore final : public ISettingsStore {
public:
    explicit RegistrySettingsStore(IRegistryApi& api) : api_(api) {}

    // A value of any type but REG_SZ, or one that cannot be read, yields defaultValue.
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    // Failures are not reported: the program carries on with what it has.
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;

    static std::string KeyPath(std::string_view app, std::string_view section);

private:
    IRegistryApi& api_;
};

} // namespace halcyra
