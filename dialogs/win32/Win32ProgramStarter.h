#pragma once
#include "dialogs/IProgramStarter.h"

namespace halcyra::win32 {

class Win32ProgramStarter : public dialogs::IProgramStarter {
public:
    bool Start(const std::string& path, int showCommand) override;
};

} // namespace halcyra::win32
