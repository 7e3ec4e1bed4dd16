#include <windows.h>

#include "dialogs/win32/Win32ProgramRunner.h"

#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf8.h"

#include <string>

namespace halcyra::win32 {

bool Win32ProgramRunner::Start(const std::string& path, int showCommand) {
    if (path.empty()) {
        return false;
    }
    // The path names the program itself, so a blank in "Program Files" cannot make Windows
    // start some other program that happens to match the first word.
    const std::wstring program = Widen(path);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    unique_handle thread(process.hThread);
    unique_handle started(process.hProcess);
    return true;
}

} // namespace halcyra::win32
