#pragma once
// The portable core keeps text in UTF-8; the platform's wide functions take UTF-16. Paths cross
// here, so that letters outside the system's ANSI code page survive. Wide calls rather than a
// UTF-8 process code page in the manifest: Windows before 10 version 1903 ignores that setting.
#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

namespace halcyra::win32 {

// Invalid UTF-8 becomes U+FFFD; embedded NULs are kept.
inline std::wstring Widen(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    if (count > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), count);
    }
    return wide;
}

// A lone surrogate becomes U+FFFD; embedded NULs are kept.
inline std::string Narrow(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX / 3) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int count =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(count), '\0');
    if (count > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), count, nullptr,
                              nullptr);
    }
    return narrow;
}

// The full path of a module of this process (nullptr: the program itself); empty when the
// system cannot tell. No length limit: long paths are read whole.
inline std::wstring ModuleFileName(HMODULE module = nullptr) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(module, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        if (size >= 32768) {
            return {};
        }
        buffer.resize(static_cast<std::size_t>(size) * 2);
    }
}

// The running program's file name without its folder and extension: "Halcyra" for
// Halcyra.exe, "Halcyra.v2" for Halcyra.v2.exe.
inline std::string ProgramName() {
    const std::string path = Narrow(ModuleFileName());
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

} // namespace halcyra::win32
