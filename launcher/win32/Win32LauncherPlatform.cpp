#include <windows.h>

#include "launcher/win32/Win32LauncherPlatform.h"

#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

namespace {

// The wide side of a LaunchText: paths go through the platform's wide functions, so that a
// folder named in letters outside the ANSI code page is found and shown as it is.
class WideText {
public:
    // False (and the text empty) when the UTF-8 text does not fit.
    bool Assign(std::string_view text) {
        chars_[0] = L'\0';
        if (text.empty()) {
            return true;
        }
        const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                               static_cast<int>(text.size()), chars_, kRoom - 1);
        if (length <= 0) {
            return false;
        }
        chars_[length] = L'\0';
        return true;
    }
    wchar_t* Buffer() { return chars_; }
    const wchar_t* CStr() const { return chars_; }
    static constexpr int Room() { return kRoom; }

private:
    static constexpr int kRoom = static_cast<int>(LaunchText::BufferSize());
    wchar_t chars_[kRoom];
};

// UTF-16 into a LaunchText; false (and the text empty) when it does not fit.
bool AssignNarrow(const wchar_t* text, int length, LaunchText& out) {
    out.Clear();
    if (length == 0) {
        return true;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, out.Buffer(),
                                         static_cast<int>(LaunchText::kCapacity), nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    out.SetSize(static_cast<std::size_t>(size));
    return true;
}

} // namespace

std::uint32_t Win32LauncherPlatform::ExecutablePath(LaunchText& path) {
    path.Clear();
    WideText own;
    const DWORD size = static_cast<DWORD>(WideText::Room());
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameW(nullptr, own.Buffer(), size);
    // A path that fills the buffer was cut short: report it rather than use a wrong folder.
    if (length == 0 || length >= size) {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_INSUFFICIENT_BUFFER;
    }
    if (!AssignNarrow(own.CStr(), static_cast<int>(length), path)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    return 0;
}

std::uint32_t Win32LauncherPlatform::StartProgram(const StartRequest& request) {
    // CreateProcessW wants NUL-terminated texts and may write into the command line.
    WideText application;
    WideText commandLine;
    WideText folder;
    if (!application.Assign(request.applicationPath) || !commandLine.Assign(request.commandLine) ||
        !folder.Assign(request.workingFolder)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(request.showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.CStr(), commandLine.Buffer(), nullptr, nullptr, FALSE, 0,
                        nullptr, request.workingFolder.empty() ? nullptr : folder.CStr(), &startup,
                        &process)) {
        return GetLastError();
    }
    // Not waited for: the handles are only closed.
    const unique_handle thread(process.hThread);
    const unique_handle started(process.hProcess);
    return 0;
}

void Win32LauncherPlatform::DescribeError(std::uint32_t code, LaunchText& text) {
    // System texts are short; Wine refuses a buffer of 32 KB or more outright.
    constexpr DWORD kMessageRoom = 4096;
    wchar_t message[kMessageRoom];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, message, kMessageRoom, nullptr);
    if (!AssignNarrow(message, static_cast<int>(length), text)) {
        text.Clear();
    }
}

void Win32LauncherPlatform::ShowError(std::string_view text, std::string_view caption) {
    WideText body;
    WideText title;
    body.Assign(text);
    title.Assign(caption);
    MessageBoxW(nullptr, body.CStr(), title.CStr(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace halcyra::win32
