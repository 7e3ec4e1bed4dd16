#pragma once
#include <string>

namespace halcyra::dialogs {

class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;
    // Starts the program at path (UTF-8) without arguments; false when it could not be started.
    virtual bool Start(const std::string& path, int showCommand) = 0;
};

} // namespace halcyra::dialogs
