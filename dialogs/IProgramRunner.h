#pragma once
// Runs a program file by its path alone, as a link would: no arguments, no working folder.
#include <string>

namespace halcyra::dialogs {

class IProgramRunner {
public:
    virtual ~IProgramRunner() = default;
    // Starts the program at path (UTF-8) without arguments; false when it could not be started.
    virtual bool Start(const std::string& path, int showCommand) = 0;
};

} // namespace halcyra::dialogs
