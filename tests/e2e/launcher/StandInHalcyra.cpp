// Stands in for Halcyra.exe beside a copied launcher: appends one line per start to
// "started.log" in its own folder, "<command line>|<current folder>|<flags>|<show>", and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char own[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    while (length > 0 && own[length - 1] != '\\') {
        --length;
    }
    own[length] = '\0';
    char logPath[MAX_PATH + 16];
    std::snprintf(logPath, sizeof(logPath), "%sstarted.log", own);

    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    char line[4 * MAX_PATH];
    const int size = std::snprintf(line, sizeof(line), "%s|%s|%lu|%u\r\n", GetCommandLineA(),
                                   folder, startup.dwFlags & STARTF_USESHOWWINDOW,
                                   static_cast<unsigned>(startup.wShowWindow));
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        return 2;
    }
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(log);
    return 0;
}
