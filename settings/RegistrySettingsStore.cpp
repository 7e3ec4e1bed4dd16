#include "settings/RegistrySettingsStore.h"

#include "common/Registry.h"

namespace halcyra {

std::string RegistrySettingsStore::KeyPath(std::string_view app, std::string_view section) {
    std::string path = "Software\\";
    path.append(app).append("\\").append(section);
    return path;
}

std::string RegistrySettingsStore::GetSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultValue) {
    auto text = Registry::ReadString(api_, reg::kCurrentUser, KeyPath(app, section), key);
    return text ? std::move(*text) : std::string(defaultValue);
}

void RegistrySettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view value) {
    // Setting a value is all the store does with its key.
    Registry::WriteStringValue(api_, reg::kCurrentUser, KeyPath(app, section), key, value,
                               reg::kSetValue);
}

} // namespace halcyra
