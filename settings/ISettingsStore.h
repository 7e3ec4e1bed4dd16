#pragma once
// The per-user settings store: text values addressed by application, section and key.
#include <string>
#include <string_view>

namespace halcyra {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or defaultValue when the key is absent.
    virtual std::string GetSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view defaultValue) = 0;
    // Creates or overwrites the key.
    virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

} // namespace halcyra
