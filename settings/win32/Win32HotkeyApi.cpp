#include <windows.h>

#include "settings/win32/Win32HotkeyApi.h"

#include "common/win32/Utf8.h"

#include <string>

namespace halcyra::win32 {

Win32HotkeyApi::Win32HotkeyApi() : codePage_(::GetACP()) {}

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

std::string Win32HotkeyApi::AnsiText(std::string_view utf8, std::uint32_t flags,
                                     bool* defaultUsed) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) {
        return {};
    }
    BOOL defaulted = FALSE;
    BOOL* used = defaultUsed ? &defaulted : nullptr;
    const int length = static_cast<int>(wide.size());
    const int count =
        ::WideCharToMultiByte(codePage_, flags, wide.data(), length, nullptr, 0, nullptr, used);
    if (count <= 0) {
        // The letter becomes no hotkey; a developer can see why.
        const std::string text = "Halcyra: WideCharToMultiByte to code page " +
                                 std::to_string(codePage_) + " with flags " +
                                 std::to_string(flags) + " failed with " +
                                 std::to_string(::GetLastError()) + "\n";
        ::OutputDebugStringA(text.c_str());
        return {};
    }
    std::string ansi(static_cast<std::size_t>(count), '\0');
    ::WideCharToMultiByte(codePage_, flags, wide.data(), length, ansi.data(), count, nullptr, used);
    if (defaultUsed) {
        *defaultUsed = defaulted != FALSE;
    }
    return ansi;
}

} // namespace halcyra::win32
