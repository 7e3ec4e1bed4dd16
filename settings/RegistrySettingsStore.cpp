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
    // Text only, cut at its first NUL and otherwise whole: blanks a user typed are kept.
    const auto stored = registry::Read(api_, reg::kCurrentUser, KeyPath(app, section), key);
    if (!stored || stored->type != reg::kTypeSz) {
        return std::string(defaultValue);
    }
    return registry::TruncateAtNull(stored->bytes);
}

void RegistrySettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view value) {
    // Setting a value is all the store does with its key.
    registry::WriteStringValue(api_, reg::kCurrentUser, KeyPath(app, section), key, value,
                               registry::Access::Write);
}

} // namespace halcyra
