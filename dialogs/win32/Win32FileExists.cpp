#include <windows.h>

#include "dialogs/win32/Win32FileExists.h"

#include "common/win32/Utf8.h"

namespace halcyra::win32 {

bool Win32FileExists::IsOrdinaryFile(const std::string& path) {
    // Attributes of the one name given: no wildcard in a registry value can match some other
    // file. Folders, devices and hidden or system files are not ordinary files.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
}

} // namespace halcyra::win32
