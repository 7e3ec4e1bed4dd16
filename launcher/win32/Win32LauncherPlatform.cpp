#include <windows.h>

#include "launcher/win32/Win32LauncherPlatform.h"

namespace halcyra::win32 {

std::uint32_t Win32LauncherPlatform::ExecutablePath(LaunchText& path) {
    path.Clear();
    const DWORD size = static_cast<DWORD>(LaunchText::BufferSize());
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(nullptr, path.Buffer(), size);
    // A path that fills the buffer was cut short: report it rather than use a wrong folder.
    if (length == 0 || length >= size) {
        const DWORD error = GetLastError();
        path.Clear();
        return error != ERROR_SUCCESS ? error : ERROR_INSUFFICIENT_BUFFER;
    }
    path.SetSize(length);
    return 0;
}

std::uint32_t Win32LauncherPlatform::StartProgram(const StartRequest& request) {
    // CreateProcessA wants NUL-terminated texts and may write into the command line.
    LaunchText application(request.applicationPath);
    LaunchText commandLine(request.commandLine);
    LaunchText folder(request.workingFolder);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(request.showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.CStr(), commandLine.Buffer(), nullptr, nullptr, FALSE, 0,
                        nullptr, folder.Empty() ? nullptr : folder.CStr(), &startup, &process)) {
        return GetLastError();
    }
    // Not waited for: the handles are only closed.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

void Win32LauncherPlatform::DescribeError(std::uint32_t code, LaunchText& text) {
    // System texts are short; Wine refuses a buffer of 32 KB or more outright.
    constexpr DWORD kMessageRoom = 4096;
    static_assert(kMessageRoom <= LaunchText::BufferSize());
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text.Buffer(), kMessageRoom, nullptr);
    text.SetSize(length);
}

void Win32LauncherPlatform::ShowError(std::string_view text, std::string_view caption) {
    LaunchText body(text);
    LaunchText title(caption);
    MessageBoxA(nullptr, body.CStr(), title.CStr(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace halcyra::win32
