#pragma once
// The per-user settings store of the Windows program: HKCU\Software\<app>\<section>.
#include "settings/RegistrySettingsStore.h"
#include "common/win32/Win32RegistryApi.h"

namespace halcyra::win32 {

class Win32SettingsStore final : public halcyra::ISettingsStore {
public:
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
        return store_.GetSetting(app, section, key, defaultValue);
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        store_.SaveSetting(app, section, key, value);
    }

private:
    Win32RegistryApi api_;
    halcyra::RegistrySettingsStore store_{api_};
};

} // namespace halcyra::win32
