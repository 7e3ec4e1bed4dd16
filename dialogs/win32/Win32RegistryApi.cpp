#include <windows.h>

#include "dialogs/win32/Win32RegistryApi.h"

namespace halcyra::win32 {

namespace {

// Predefined roots are negative 32-bit numbers: on 64-bit Windows the handle is the
// sign-extended value, so 0x80000002 must become 0xFFFFFFFF80000002.
HKEY RootKey(std::uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

} // namespace

long Win32RegistryApi::OpenKey(std::uint32_t root, const std::string& path, std::uint32_t options,
                               std::uint32_t access, dialogs::RegistryKey& key) {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(RootKey(root), path.c_str(), options, access, &opened);
    key = reinterpret_cast<dialogs::RegistryKey>(opened);
    return status;
}

long Win32RegistryApi::QueryValue(dialogs::RegistryKey key, const std::string& name,
                                  std::uint32_t& type, char* buffer, std::uint32_t& size) {
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LSTATUS status =
        ::RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &valueType,
                           reinterpret_cast<BYTE*>(buffer), &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

long Win32RegistryApi::CloseKey(dialogs::RegistryKey key) {
    return ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace halcyra::win32
