#pragma once
// The three registry calls behind GetKeyValue, with the platform's result codes (0 = success).
#include <cstdint>
#include <string>

namespace halcyra::dialogs {

using RegistryKey = std::uintptr_t;
// Predefined roots as 32-bit values; the platform side widens them with sign extension.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

class IRegistryApi {
public:
    virtual ~IRegistryApi() = default;
    virtual long OpenKey(std::uint32_t root, const std::string& path, std::uint32_t options,
                         std::uint32_t access, RegistryKey& key) = 0;
    // size: the buffer's length in, the bytes the value holds out.
    virtual long QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                            char* buffer, std::uint32_t& size) = 0;
    virtual long CloseKey(RegistryKey key) = 0;
};

} // namespace halcyra::dialogs
