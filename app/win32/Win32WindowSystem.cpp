#include "app/win32/Win32WindowSystem.h"

#include "common/win32/ComApartment.h"

#include <string>

namespace halcyra::win32 {

namespace {
HWND ToHwnd(WindowHandle h) {
    return reinterpret_cast<HWND>(h);
}

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::Information:
        break;
    }
    return MB_ICONINFORMATION;
}

int ShowBox(WindowHandle owner, std::string_view text, std::string_view title, UINT flags) {
    const std::string t(text);
    const std::string c(title);
    return ::MessageBoxA(ToHwnd(owner), t.c_str(), c.c_str(), flags);
}
} // namespace

Win32WindowSystem::~Win32WindowSystem() {
    UninitializeComApartment();
}

void Win32WindowSystem::UninitializeComApartment() {
    com::LeaveApartment();
}

Answer Win32WindowSystem::AskYesNo(WindowHandle owner, std::string_view text,
                                   std::string_view title, MessageIcon icon) {
    switch (ShowBox(owner, text, title, MB_YESNO | IconFlag(icon))) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::None;
    }
}

void Win32WindowSystem::ShowMessage(WindowHandle owner, std::string_view text,
                                    std::string_view title, MessageIcon icon) {
    ShowBox(owner, text, title, MB_OK | IconFlag(icon));
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
