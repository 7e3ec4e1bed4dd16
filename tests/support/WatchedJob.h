#pragma once
// A stand-in for a long job (a render, a download) that a test starts and ends: the program
// built from tests/integration/watch/WatchedProgram.cpp, given by its Unix path.
#include <windows.h>

#include <string>

#include "support/WinePath.h"

namespace halcyra::test {

class WatchedJob {
public:
    explicit WatchedJob(const std::string& unixPath) {
        std::string line = "\"" + WindowsPath(unixPath) + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info_)) {
            ::CloseHandle(info_.hThread);
        }
    }
    ~WatchedJob() {
        End();
        if (info_.hProcess) {
            ::CloseHandle(info_.hProcess);
        }
    }
    WatchedJob(const WatchedJob&) = delete;
    WatchedJob& operator=(const WatchedJob&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // Ends it, as a user ending the job would, and waits until it has ended.
    void End() const {
        if (info_.hProcess) {
            ::TerminateProcess(info_.hProcess, 0);
            ::WaitForSingleObject(info_.hProcess, 10000);
        }
    }

private:
    PROCESS_INFORMATION info_{};
};

} // namespace halcyra::test
