#pragma once
// A program a test starts and ends (a stand-in for a long job), and waiting for what this
// thread's messages bring.
#include <windows.h>

#include <string>

#include "support/Wait.h"
#include "support/WinePath.h"

namespace halcyra::test {

inline PROCESS_INFORMATION StartProgram(const std::string& unixPath) {
    std::string line = "\"" + WindowsPath(unixPath) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
    }
    return info;
}

inline void EndProgram(const PROCESS_INFORMATION& info) {
    ::TerminateProcess(info.hProcess, 0);
    ::WaitForSingleObject(info.hProcess, 10000);
    ::CloseHandle(info.hProcess);
}

// True once done() holds, with this thread's messages delivered meanwhile.
template <typename Condition>
bool PumpUntil(Condition done) {
    return WaitUntil([&] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
        return done();
    });
}

} // namespace halcyra::test
