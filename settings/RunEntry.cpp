#include "settings/RunEntry.h"

#include "settings/SettingsKeys.h"

namespace halcyra::settings {

std::string RunEntryData(std::string_view folder, std::string_view exeName) {
    // The name comes without its extension already: a dot left in it belongs to the name.
    std::string path;
    path.reserve(folder.size() + exeName.size() + 5);
    path.append(folder).append("\\").append(exeName).append(".exe");
    if (path.find_first_of(" \t") != std::string::npos) {
        path = '"' + path + '"';
    }
    return path + ' ' + std::string(kStartArgument);
}

} // namespace halcyra::settings
