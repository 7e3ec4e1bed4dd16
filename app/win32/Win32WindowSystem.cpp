#include "app/win32/Win32WindowSystem.h"

#include <objbase.h>

#include <string>

namespace halcyra::win32 {

namespace {
HWND ToHwnd(WindowHandle h) {
    return reinterpret_cast<HWND>(h);
}
} // namespace

Win32WindowSystem::~Win32WindowSystem() {
    UninitializeComApartment();
}

void Win32WindowSystem::InitCommonControls() {
    // Nothing yet: the common controls are made ready where the first control is made (the
    // main window's first showing, each dialog). Loading their library here would cost every
    // start in the tray about 2 MB for a window it may never show.
}

void Win32WindowSystem::InitializeComApartment() {
    if (comInitialized_) {
        return;
    }
    // As the shell asks of ShellExecute's callers: apartment-threaded, without OLE1 DDE.
    if (auto fn = coInitializeEx_.get()) {
        comInitialized_ = SUCCEEDED(fn(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
}

void Win32WindowSystem::UninitializeComApartment() {
    if (!comInitialized_) {
        return;
    }
    comInitialized_ = false;
    if (auto fn = coUninitialize_.get()) {
        fn();
    }
}

int Win32WindowSystem::MessageBox(WindowHandle owner, std::string_view text, std::string_view title,
                                  std::uint32_t flags) {
    const std::string t(text);
    const std::string c(title);
    return ::MessageBoxA(ToHwnd(owner), t.c_str(), c.c_str(), flags);
}

LResult Win32WindowSystem::SendMessage(WindowHandle hwnd, std::uint32_t msg, WParam wParam,
                                       LParam lParam) {
    return ::SendMessageA(ToHwnd(hwnd), msg, wParam, lParam);
}

std::int32_t Win32WindowSystem::SetForegroundWindow(WindowHandle hwnd) {
    return ::SetForegroundWindow(ToHwnd(hwnd));
}

void Win32WindowSystem::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::uint32_t Win32WindowSystem::RegisterWindowMessage(std::string_view name) {
    const std::string n(name);
    return ::RegisterWindowMessageA(n.c_str());
}

void Win32WindowSystem::DebugOutput(std::string_view text) {
    const std::string line = std::string(text) + "\n";
    ::OutputDebugStringA(line.c_str());
}

} // namespace halcyra::win32
