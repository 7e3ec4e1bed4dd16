#pragma once
#include "dialogs/IShellOpener.h"

namespace halcyra::win32 {

class Win32ShellOpener : public dialogs::IShellOpener {
public:
    void OpenWithShell(WindowHandle parent, const std::string& operation, const std::string& file,
                       int showCommand) override;
};

} // namespace halcyra::win32
