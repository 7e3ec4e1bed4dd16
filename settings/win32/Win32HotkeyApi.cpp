#include <windows.h>

#include "settings/win32/Win32HotkeyApi.h"

#include "common/win32/Utf8.h"

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

std::string Win32HotkeyApi::AnsiText(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) {
        return {};
    }
    // No best fit: "Ł" must not quietly become the hotkey of "L".
    BOOL defaulted = FALSE;
    const int length = static_cast<int>(wide.size());
    const int count = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                            nullptr, 0, nullptr, &defaulted);
    std::string ansi(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) {
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), count,
                              nullptr, &defaulted);
    }
    return defaulted ? std::string() : ansi;
}

} // namespace halcyra::win32
