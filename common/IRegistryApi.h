#pragma once
// The registry calls the program makes, one to one with the advapi32 wide functions of those
// names. Key paths, value names and string data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are
// UTF-8 here, converted at the call: sizes count UTF-8 bytes, as an ANSI function would see
// them were the code page UTF-8. ASCII text
// is stored exactly as the ANSI functions store it; other letters survive whole.
// Results are the platform's status codes (0 = success), never GetLastError.
#include <cstdint>
#include <string_view>

namespace halcyra {

using RegKey = std::uintptr_t; // HKEY

namespace reg {
inline constexpr RegKey kCurrentUser = 0x80000001u;
inline constexpr RegKey kLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kOptionNonVolatile = 0;
inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;
inline constexpr std::uint32_t kTypeMultiSz = 7;
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kMoreData = 234;
} // namespace reg

// SECURITY_ATTRIBUTES as far as the program uses them.
struct RegSecurity {
    bool hasDescriptor = false;
    bool inheritHandle = false;
};

class IRegistryApi {
public:
    virtual ~IRegistryApi() = default;
    // className null = no class; security null = default attributes.
    virtual long RegCreateKeyExW(RegKey root, std::string_view subKey, std::uint32_t reserved,
                                 const char* className, std::uint32_t options, std::uint32_t access,
                                 const RegSecurity* security, RegKey* result,
                                 std::uint32_t* disposition) = 0;
    virtual long RegSetValueExW(RegKey key, std::string_view valueName, std::uint32_t reserved,
                                std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) = 0;
    // options is the platform's reserved ulOptions (0).
    virtual long RegOpenKeyExW(RegKey root, std::string_view subKey, std::uint32_t options,
                               std::uint32_t access, RegKey* result) = 0;
    // type and data may be null; size is in/out as on the platform (null only when data is).
    virtual long RegQueryValueExW(RegKey key, std::string_view valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long RegDeleteValueW(RegKey key, std::string_view valueName) = 0;
    virtual long RegCloseKey(RegKey key) = 0;
};

} // namespace halcyra
