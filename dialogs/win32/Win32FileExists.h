#pragma once
#include "dialogs/IFileExists.h"

namespace halcyra::win32 {

class Win32FileExists : public dialogs::IFileExists {
public:
    bool IsOrdinaryFile(const std::string& path) override;
};

} // namespace halcyra::win32
