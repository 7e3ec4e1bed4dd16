#include <windows.h>

#include "common/win32/SystemErrorText.h"

#include "common/win32/Utf8.h"

namespace halcyra::win32 {

std::string SystemErrorText(std::uint32_t error) {
    // Wide: a translated system's text is outside the ANSI code page as often as not.
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length != 0 && buffer != nullptr ? Narrow({buffer, length}) : "";
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace halcyra::win32
