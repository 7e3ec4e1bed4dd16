#include "app/win32/Win32WindowSystem.h"

#include "common/win32/ComApartment.h"

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

void Win32WindowSystem::UninitializeComApartment() {
    com::LeaveApartment();
}

void Win32WindowSystem::SendSystemCommand(WindowHandle hwnd, WParam command, LParam lParam) {
    ::SendMessageA(ToHwnd(hwnd), WM_SYSCOMMAND, command, lParam);
}

std::int32_t Win32WindowSystem::SetForegroundWindow(WindowHandle hwnd) {
    return ::SetForegroundWindow(ToHwnd(hwnd));
}

void Win32WindowSystem::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::uint32_t Win32WindowSystem::RegisterMessageName(std::string_view name) {
    const std::string n(name);
    return ::RegisterWindowMessageA(n.c_str());
}

void Win32WindowSystem::DebugOutput(std::string_view text) {
    const std::string line = std::string(text) + "\n";
    ::OutputDebugStringA(line.c_str());
}

} // namespace halcyra::win32
