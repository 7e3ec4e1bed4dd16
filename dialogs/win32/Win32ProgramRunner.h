#pragma once
#include "dialogs/IProgramRunner.h"

namespace halcyra::win32 {

class Win32ProgramRunner : public dialogs::IProgramRunner {
public:
    bool Start(const std::string& path, int showCommand) override;
};

} // namespace halcyra::win32
