#pragma once
// Helpers for driving the dialogs under Wine from a second thread or process: waiting for
// windows, reading their texts, and a recording stand-in for the browser and mail program.
#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/Wait.h"
#include "support/WinePath.h"

namespace halcyra::test {

inline HWND FindVisibleDialog(const char* caption, int milliseconds = 10000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = ::FindWindowA("#32770", caption);
            return found && ::IsWindowVisible(found);
        },
        milliseconds);
    return found && ::IsWindowVisible(found) ? found : nullptr;
}

inline bool WaitGone(HWND window, int milliseconds = 10000) {
    return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); },
                     milliseconds);
}

inline std::string WindowText(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

inline std::string ItemText(HWND dialog, int id) {
    return WindowText(::GetDlgItem(dialog, id));
}

inline void SetStringValue(HKEY root, const char* key, const char* name, const std::string& value) {
    HKEY opened = nullptr;
    ::RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    ::RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(opened);
}

inline void DeleteValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
        ::RegDeleteValueA(opened, name);
        ::RegCloseKey(opened);
    }
}

// Wine hands http(s) and mailto addresses to the Unix programs named under WineBrowser; the
// stub script appends its one argument to <script>.log.
class BrowserLog {
public:
    explicit BrowserLog(const std::string& stubScript) : log_(WindowsPath(stubScript + ".log")) {
        SetStringValue(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", stubScript);
        SetStringValue(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Mailers", stubScript);
        Clear();
    }

    void Clear() { ::DeleteFileA(log_.c_str()); }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // Waits for count addresses, then a little longer so that a surplus one would show.
    std::vector<std::string> WaitForLines(std::size_t count) const {
        // Each address starts a Unix process through Wine's browser launcher: slow on a busy
        // machine, so the deadline is long.
        WaitUntil([&] { return Lines().size() >= count; }, 30000);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        return Lines();
    }

private:
    std::string log_;
};

// The message box of the given title, its text (the static 0xFFFF) and its buttons.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string text;
    std::vector<std::string> buttons;
    bool icon = false;
};

inline MessageBoxSeen FindMessageBox(const char* title, int milliseconds = 10000) {
    MessageBoxSeen seen;
    seen.window = FindVisibleDialog(title, milliseconds);
    if (!seen.window) {
        return seen;
    }
    seen.text = ItemText(seen.window, 0xFFFF);
    for (HWND child = ::GetWindow(seen.window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        ::GetClassNameA(child, cls, sizeof cls);
        if (!::IsWindowVisible(child)) {
            continue;
        }
        if (lstrcmpiA(cls, "Button") == 0) {
            seen.buttons.push_back(WindowText(child));
        } else if (lstrcmpiA(cls, "Static") == 0 &&
                   (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                   ::SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            seen.icon = true;
        }
    }
    return seen;
}

inline void Click(HWND control) {
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

} // namespace halcyra::test
