#pragma once
// Creates the process of a program by path, with its command line, window style and working
// folder, and does not wait for it.
#include <cstdint>
#include <string_view>

namespace halcyra {

struct StartRequest {
    std::string_view applicationPath; // the file to run; no search path is consulted
    std::string_view commandLine;     // the started program's whole command line
    std::int32_t showCommand = 0;     // window style handed to the program (SW_*)
    std::string_view workingFolder;   // empty: the program inherits the caller's current folder
};

class IProcessCreator {
public:
    virtual ~IProcessCreator() = default;
    // Returns 0 once the program is started, or the system error code of the failed start.
    virtual std::uint32_t StartProgram(const StartRequest& request) = 0;
};

} // namespace halcyra
