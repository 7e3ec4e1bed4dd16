#pragma once
// Build paths are Unix paths; a Windows program under Wine sees them under drive Z:.
#include <string>

namespace halcyra::test {

inline std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + unixPath;
}

} // namespace halcyra::test
