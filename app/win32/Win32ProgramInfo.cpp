#include "app/win32/Win32ProgramInfo.h"

#include "commandline/CommandLine.h"
#include "app/win32/Win32MainWindow.h"
#include "common/win32/Utf8.h"

namespace halcyra::win32 {

std::string Win32ProgramInfo::ModulePath() {
    // Wide: a folder named in letters outside the ANSI code page must survive whole.
    return Narrow(ModuleFileName());
}

std::string Win32ProgramInfo::Arguments() const {
    return ArgumentText(Narrow(::GetCommandLineW()), ModulePath());
}

std::string Win32ProgramInfo::Folder() const {
    const std::string path = ModulePath();
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return {};
    }
    // A drive's root keeps its backslash, as the platform reports it.
    if (slash == 2 && path[1] == ':') {
        return path.substr(0, 3);
    }
    return path.substr(0, slash);
}

std::string Win32ProgramInfo::ExeName() const {
    return win32::ProgramName();
}

bool Win32ProgramInfo::AnotherCopyRunning() {
    // A named object rather than a window title: another program's window called "Halcyra"
    // must not count, and a copy that ends at once leaves nothing behind.
    if (!instance_) {
        instance_.reset(::CreateMutexA(nullptr, FALSE, kInstanceMutex));
        return instance_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return false;
}

bool Win32ProgramInfo::AnotherCopyHolds(std::uint32_t key) {
    const UINT message = ::RegisterWindowMessageA(kHoldsHotkeyMessage);
    if (message == 0) {
        return false;
    }
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, Win32MainWindow::kClassName, nullptr)) !=
           nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        DWORD_PTR answer = 0;
        // A copy that hangs is not waited for: its holding cannot be told, so it counts as not.
        if (process != ::GetCurrentProcessId() &&
            ::SendMessageTimeoutA(window, message, key, 0, SMTO_ABORTIFHUNG, 2000, &answer) &&
            answer == static_cast<DWORD_PTR>(kHolds)) {
            return true;
        }
    }
    return false;
}

} // namespace halcyra::win32
