#include <windows.h>

#include "settings/win32/Win32RegistryApi.h"

#include <string>

namespace halcyra::win32 {

namespace {

// The core carries the predefined roots as their 32-bit values (HKEY_CURRENT_USER is
// 0x80000001); a 64-bit HKEY holds them sign-extended, and the registry only knows them so.
HKEY ToHkey(RegKey key) {
    if (key >= 0x80000000u && key <= 0x800000FFu) {
        return reinterpret_cast<HKEY>(
            static_cast<LONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(key))));
    }
    return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
    return reinterpret_cast<RegKey>(key);
}

void Report(const char* call, long status) {
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        const std::string text =
            std::string("Halcyra: ") + call + " failed with " + std::to_string(status) + "\n";
        ::OutputDebugStringA(text.c_str());
    }
}

} // namespace

long Win32RegistryApi::RegCreateKeyExA(RegKey root, std::string_view subKey, std::uint32_t reserved,
                                       const char* className, std::uint32_t options,
                                       std::uint32_t access, const RegSecurity* security,
                                       RegKey* result, std::uint32_t* disposition) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = security != nullptr && security->inheritHandle ? TRUE : FALSE;
    HKEY key = nullptr;
    DWORD created = 0;
    const std::string path(subKey);
    const LSTATUS status = ::RegCreateKeyExA(
        ToHkey(root), path.c_str(), reserved, const_cast<LPSTR>(className), options, access,
        security != nullptr ? &attributes : nullptr, &key, &created);
    Report("RegCreateKeyExA", status);
    if (result != nullptr) {
        *result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
    }
    if (disposition != nullptr) {
        *disposition = created;
    }
    return status;
}

long Win32RegistryApi::RegSetValueExA(RegKey key, std::string_view valueName,
                                      std::uint32_t reserved, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) {
    const std::string name(valueName);
    const LSTATUS status = ::RegSetValueExA(ToHkey(key), name.c_str(), reserved, type, data, size);
    Report("RegSetValueExA", status);
    return status;
}

long Win32RegistryApi::RegOpenKeyExA(RegKey root, std::string_view subKey, std::uint32_t options,
                                     std::uint32_t access, RegKey* result) {
    HKEY key = nullptr;
    const std::string path(subKey);
    const LSTATUS status = ::RegOpenKeyExA(ToHkey(root), path.c_str(), options, access, &key);
    Report("RegOpenKeyExA", status);
    if (result != nullptr) {
        *result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
    }
    return status;
}

long Win32RegistryApi::RegQueryValueExA(RegKey key, std::string_view valueName, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* size) {
    const std::string name(valueName);
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LSTATUS status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, data,
                                              size != nullptr ? &valueSize : nullptr);
    Report("RegQueryValueExA", status);
    if (type != nullptr) {
        *type = valueType;
    }
    if (size != nullptr) {
        *size = valueSize;
    }
    return status;
}

long Win32RegistryApi::RegDeleteValueA(RegKey key, std::string_view valueName) {
    const std::string name(valueName);
    const LSTATUS status = ::RegDeleteValueA(ToHkey(key), name.c_str());
    Report("RegDeleteValueA", status);
    return status;
}

long Win32RegistryApi::RegCloseKey(RegKey key) {
    return ::RegCloseKey(ToHkey(key));
}

} // namespace halcyra::win32
