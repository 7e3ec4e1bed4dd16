#include "settings/RunEntry.h"

#include "settings/SettingsKeys.h"

namespace halcyra::settings {

std::string RunEntryData(std::string_view folder, std::string_view exeFileName) {
    const auto dot = exeFileName.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos ? exeFileName : exeFileName.substr(0, dot);
    std::string path;
    path.reserve(folder.size() + stem.size() + 5);
    path.append(folder).append("\\").append(stem).append(".exe");
    if (path.find_first_of(" \t") != std::string::npos) {
        path = '"' + path + '"';
    }
    return path + ' ' + std::string(kStartArgument);
}

} // namespace halcyra::settings
