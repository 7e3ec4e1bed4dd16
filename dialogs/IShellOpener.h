#pragma once
#include "common/PlatformTypes.h"

#include <string>

namespace halcyra::dialogs {

inline constexpr int kShowNormal = 1; // SW_SHOWNORMAL

// Hands a document or address to the shell (ShellExecuteA with no parameters and no folder).
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    virtual void OpenWithShell(WindowHandle parent, const std::string& operation,
                               const std::string& file, int showCommand) = 0;
};

} // namespace halcyra::dialogs
