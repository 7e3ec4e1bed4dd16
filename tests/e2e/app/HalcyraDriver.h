#pragma once
// Drives a real Halcyra.exe from this second process, as a user and the shell would, and
// reads back what it did from the registry, its windows and the notification area.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/Wait.h"
#include "support/WinePath.h"

namespace halcyra::test {

inline const char* kSettingsKey = "Software\\Halcyra\\Settings";
inline const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

inline std::string HalcyraExe() {
    return WindowsPath(HALCYRA_EXE);
}

inline void SetSetting(const char* key, const char* value) {
    HKEY k = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &k, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(k, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>(std::strlen(value) + 1));
        ::RegCloseKey(k);
    }
}

// The string value, or "(absent)".
inline std::string ReadString(HKEY root, const char* key, const char* name) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (::RegGetValueA(root, key, name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS) {
        return "(absent)";
    }
    return buffer;
}

inline void SetRunEntry(const char* data) {
    HKEY k = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                          nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(k, "Halcyra", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                         static_cast<DWORD>(std::strlen(data) + 1));
        ::RegCloseKey(k);
    }
}

inline void ClearStoredState() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halcyra");
    HKEY k = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        ::RegDeleteValueA(k, "Halcyra");
        ::RegCloseKey(k);
    }
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char cls[64] = {};
    char text[256] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    ::GetWindowTextA(hwnd, text, sizeof text);
    if ((s->pid == 0 || owner == s->pid) && std::strcmp(cls, s->className) == 0 &&
        (!s->title || std::strcmp(text, s->title) == 0)) {
        s->found.push_back(hwnd);
    }
    return TRUE;
}

// Top-level windows of a class (and title, when given) owned by a process (0: any).
inline std::vector<HWND> WindowsOf(DWORD pid, const char* className, const char* title) {
    WindowSearch search{pid, className, title, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the notification area holds the icon (hwnd, 1): an empty modify finds it or not.
inline bool TrayIconPresent(HWND owner) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = 1;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

// The taskbar losing the icon, as when explorer restarts.
inline void RemoveTrayIcon(HWND owner) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = 1;
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
}

inline std::string MessageBoxText(HWND box) {
    char text[1024] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

// A CTRL+ALT combination is free when this process can take it itself.
inline bool HotkeyFree(UINT vk) {
    if (!::RegisterHotKey(nullptr, 0x7000, MOD_CONTROL | MOD_ALT, vk)) {
        return false;
    }
    ::UnregisterHotKey(nullptr, 0x7000);
    return true;
}

// Runs a Unix command line (xdotool, import) and waits for it. The handle Wine gives back for
// a Unix program does not follow it to its end, so the command leaves a mark when it is done.
inline bool RunUnix(const std::string& commandLine) {
    static int serial = 0;
    const std::string mark = "/tmp/halcyra-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++serial);
    std::string line = "Z:\\bin\\sh -c \"" + commandLine + "; : > " + mark + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return false;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    const std::string windowsMark = WindowsPath(mark);
    const bool done = WaitUntil(
        [&] { return ::GetFileAttributesA(windowsMark.c_str()) != INVALID_FILE_ATTRIBUTES; },
        10000);
    ::DeleteFileA(windowsMark.c_str());
    return done;
}

// A tray notification as the shell sends it (measured under Wine: SendNotifyMessage from its
// own thread, the icon's id in wParam, the mouse message in lParam). It does not wait.
inline void NotifyFromTray(HWND owner, UINT mouseMessage) {
    ::SendNotifyMessageA(owner, WM_MOUSEMOVE, 1, static_cast<LPARAM>(mouseMessage));
}

// A screenshot of the whole virtual screen into the build's screenshots folder.
inline void Screenshot(const std::string& name) {
    const char* bench = std::getenv("HALCYRA_BENCH_DIR");
    if (!bench) {
        return;
    }
    const std::string folder = std::string(bench) + "/../screenshots";
    RunUnix("mkdir -p " + folder);
    RunUnix("import -window root " + folder + "/" + name + ".png");
}

// Real key presses on the bench's X display.
inline bool PressKeys(const std::string& keys) {
    return RunUnix("/usr/bin/xdotool key --clearmodifiers " + keys);
}

// One running copy of the program, ended when the test is done with it.
class HalcyraProcess {
public:
    // showWindow: what a shortcut's "Run" choice puts in STARTUPINFO (-1: nothing).
    explicit HalcyraProcess(const std::string& arguments = "", const char* exe = nullptr,
                            int showWindow = -1) {
        const std::string path = exe ? exe : HalcyraExe();
        std::string line = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (showWindow >= 0) {
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = static_cast<WORD>(showWindow);
        }
        started_ = ::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &si, &pi_) != FALSE;
    }
    ~HalcyraProcess() {
        if (started_) {
            if (Running()) {
                ::TerminateProcess(pi_.hProcess, 1);
                ::WaitForSingleObject(pi_.hProcess, 5000);
            }
            ::CloseHandle(pi_.hThread);
            ::CloseHandle(pi_.hProcess);
        }
    }
    HalcyraProcess(const HalcyraProcess&) = delete;
    HalcyraProcess& operator=(const HalcyraProcess&) = delete;

    bool Started() const { return started_; }
    DWORD Pid() const { return pi_.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    // What it ended with; STILL_ACTIVE while it runs.
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    bool WaitForExit(int milliseconds = 8000) const {
        return ::WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(milliseconds)) ==
               WAIT_OBJECT_0;
    }
    // The main window, once it exists (shown or not).
    HWND MainWindow(int milliseconds = 8000) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                const auto w = WindowsOf(pi_.dwProcessId, "HalcyraForm", "Halcyra");
                found = w.empty() ? nullptr : w.front();
                return found != nullptr;
            },
            milliseconds);
        return found;
    }
    // A dialog or message box of this process with that title, once it is shown.
    HWND DialogTitled(const char* title, int milliseconds = 8000) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                const auto w = WindowsOf(pi_.dwProcessId, "#32770", title);
                found = w.empty() ? nullptr : w.front();
                return found != nullptr && ::IsWindowVisible(found);
            },
            milliseconds);
        return found;
    }
    // Waits until start-up is over: its three messages subclassed (the count is a property
    // of the window, readable from here) and the window shown or the icon added.
    HWND WaitReady(bool hidden = false) const {
        HWND hwnd = MainWindow();
        if (hwnd) {
            const std::string count = "C" + std::to_string(reinterpret_cast<INT_PTR>(hwnd));
            WaitUntil([&] { return ::GetPropA(hwnd, count.c_str()) != nullptr; });
            WaitUntil([&] { return hidden ? TrayIconPresent(hwnd) : ::IsWindowVisible(hwnd); });
        }
        return hwnd;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

} // namespace halcyra::test
