#pragma once
#include <string>

namespace halcyra::dialogs {

class IFileExists {
public:
    virtual ~IFileExists() = default;
    // True only for an ordinary file: folders and devices do not count. path is UTF-8.
    virtual bool IsOrdinaryFile(const std::string& path) = 0;
};

} // namespace halcyra::dialogs
