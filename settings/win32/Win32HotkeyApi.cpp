#include <windows.h>

#include "settings/win32/Win32HotkeyApi.h"

#include <string>

namespace halcyra::win32 {

std::int32_t Win32HotkeyApi::RegisterHotKey(WindowHandle hwnd, std::int32_t id,
                                            std::uint32_t modifiers, std::uint32_t virtualKey) {
    const BOOL ok = ::RegisterHotKey(reinterpret_cast<HWND>(hwnd), id, modifiers, virtualKey);
    if (!ok) {
        // Nobody is told (a taken combination simply does nothing); a developer can see it.
        const std::string text = "Halcyra: RegisterHotKey " + std::to_string(id) + " (key " +
                                 std::to_string(virtualKey) + ") failed with " +
                                 std::to_string(::GetLastError()) + "\n";
        ::OutputDebugStringA(text.c_str());
    }
    return ok;
}

std::int32_t Win32HotkeyApi::UnregisterHotKey(WindowHandle hwnd, std::int32_t id) {
    return ::UnregisterHotKey(reinterpret_cast<HWND>(hwnd), id);
}

} // namespace halcyra::win32
