#include <windows.h>

#include "common/win32/Win32RegistryApi.h"

#include <cstring>
#include <string>
#include <vector>

#include "common/win32/Utf8.h"

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

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The whole value as stored: its type and its bytes. The value may grow between the size
// question and the read; a few tries catch up with it.
LSTATUS ReadStored(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& bytes) {
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    for (int tries = 0; status == ERROR_SUCCESS && tries < 4; ++tries) {
        bytes.resize(static_cast<std::size_t>(size) + sizeof(wchar_t));
        size = static_cast<DWORD>(bytes.size());
        status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            bytes.resize(size);
            return status;
        }
        if (status == ERROR_MORE_DATA) {
            status = ERROR_SUCCESS;
        }
    }
    return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

} // namespace

long Win32RegistryApi::RegCreateKeyExW(RegKey root, std::string_view subKey, std::uint32_t reserved,
                                       const char* className, std::uint32_t options,
                                       std::uint32_t access, const RegSecurity* security,
                                       RegKey* result, std::uint32_t* disposition) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = security != nullptr && security->inheritHandle ? TRUE : FALSE;
    HKEY key = nullptr;
    DWORD created = 0;
    const std::wstring path = Widen(subKey);
    std::wstring keyClass = className != nullptr ? Widen(className) : std::wstring();
    const LSTATUS status = ::RegCreateKeyExW(
        ToHkey(root), path.c_str(), reserved, className != nullptr ? keyClass.data() : nullptr,
        options, access, security != nullptr ? &attributes : nullptr, &key, &created);
    Report("RegCreateKeyExW", status);
    if (result != nullptr) {
        *result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
    }
    if (disposition != nullptr) {
        *disposition = created;
    }
    return status;
}

long Win32RegistryApi::RegSetValueExW(RegKey key, std::string_view valueName,
                                      std::uint32_t reserved, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) {
    const std::wstring name = Widen(valueName);
    LSTATUS status = ERROR_SUCCESS;
    if (IsText(type) && data != nullptr) {
        // Exactly the bytes given, terminator and embedded NULs included, as UTF-16.
        const std::wstring text =
            Widen(std::string_view(reinterpret_cast<const char*>(data), size));
        status = ::RegSetValueExW(ToHkey(key), name.c_str(), reserved, type,
                                  reinterpret_cast<const BYTE*>(text.data()),
                                  static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    } else {
        status = ::RegSetValueExW(ToHkey(key), name.c_str(), reserved, type, data, size);
    }
    Report("RegSetValueExW", status);
    return status;
}

long Win32RegistryApi::RegOpenKeyExW(RegKey root, std::string_view subKey, std::uint32_t options,
                                     std::uint32_t access, RegKey* result) {
    HKEY key = nullptr;
    const std::wstring path = Widen(subKey);
    const LSTATUS status = ::RegOpenKeyExW(ToHkey(root), path.c_str(), options, access, &key);
    Report("RegOpenKeyExW", status);
    if (result != nullptr) {
        *result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
    }
    return status;
}

long Win32RegistryApi::RegQueryValueExW(RegKey key, std::string_view valueName, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* size) {
    DWORD valueType = 0;
    std::vector<BYTE> stored;
    LSTATUS status = ReadStored(ToHkey(key), Widen(valueName), valueType, stored);
    Report("RegQueryValueExW", status);
    if (type != nullptr) {
        *type = valueType;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::string text;
    if (IsText(valueType)) {
        // An odd last byte is no whole UTF-16 unit and is dropped, as the ANSI call does.
        std::wstring wide(stored.size() / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), stored.data(), wide.size() * sizeof(wchar_t));
        text = Narrow(wide);
    } else {
        text.assign(stored.begin(), stored.end());
    }
    const auto needed = static_cast<std::uint32_t>(text.size());
    if (data != nullptr) {
        if (size == nullptr || *size < needed) {
            status = ERROR_MORE_DATA;
        } else {
            std::memcpy(data, text.data(), text.size());
        }
    }
    if (size != nullptr) {
        *size = needed;
    }
    return status;
}

long Win32RegistryApi::RegDeleteValueW(RegKey key, std::string_view valueName) {
    const std::wstring name = Widen(valueName);
    const LSTATUS status = ::RegDeleteValueW(ToHkey(key), name.c_str());
    Report("RegDeleteValueW", status);
    return status;
}

long Win32RegistryApi::RegCloseKey(RegKey key) {
    return ::RegCloseKey(ToHkey(key));
}

} // namespace halcyra::win32
