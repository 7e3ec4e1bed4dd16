#pragma once
// Every registry read, write and delete of the program goes through here: the exact calls
// (access masks, reserved arguments, order) live in one place, and every opened key is owned
// by a RegistryKey, so no path through a caller can leave one open. Stateless.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "common/IRegistryApi.h"

namespace halcyra {

// Text or a 32-bit integer; ReadValue hands back the caller's default exactly as given when
// there is nothing to read, so callers compare the result with their default.
using RegistryValue = std::variant<std::string, std::int32_t>;

// An open key, closed when its owner goes. Move-only; an empty owner closes nothing.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(IRegistryApi& api, RegKey key) : api_(&api), key_(key) {}
    RegistryKey(RegistryKey&& other) noexcept : api_(other.api_), key_(other.Release()) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            Close();
            api_ = other.api_;
            key_ = other.Release();
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { Close(); }

    RegKey Get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }

private:
    RegKey Release() {
        const RegKey key = key_;
        key_ = 0;
        return key;
    }
    void Close() {
        if (key_ != 0) {
            api_->RegCloseKey(Release());
        }
    }

    IRegistryApi* api_ = nullptr;
    RegKey key_ = 0;
};

// A value as stored: its type and at most the bytes asked for.
struct StoredValue {
    std::uint32_t type = 0;
    std::string bytes;
};

class Registry {
public:
    // Opens an existing key (reserved options 0). Empty when it cannot be opened; status (when
    // given) receives the platform's code.
    static RegistryKey OpenKey(IRegistryApi& api, RegKey root, std::string_view keyPath,
                               std::uint32_t access, long* status = nullptr);
    // Creates every missing level of keyPath, or opens the key that is there: reserved 0, no
    // class, non-volatile, a handle nobody inherits.
    static RegistryKey CreateKey(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                 std::uint32_t access, long* status = nullptr);

    // Stores value as REG_SZ, its terminating NUL counted. 0 on success, else the platform's
    // code. The key is opened with full access unless the caller asks for less.
    static long WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                 std::string_view valueName, std::string_view value,
                                 std::uint32_t access = reg::kAllAccess);
    // REG_SZ as text (trailing blanks removed, cut at the first NUL), REG_DWORD as an
    // integer, anything else or any failure as defaultValue.
    static RegistryValue ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                   std::string_view valueName, const RegistryValue& defaultValue);
    // REG_SZ only, as text cut at its first NUL and otherwise whole; nothing for any other
    // type or any failure.
    static std::optional<std::string> ReadString(IRegistryApi& api, RegKey root,
                                                 std::string_view keyPath,
                                                 std::string_view valueName);
    // One read into a buffer of bufferSize bytes with read access only: a value that does not
    // fit, like a missing key or value, gives nothing.
    static std::optional<StoredValue> ReadStored(IRegistryApi& api, RegKey root,
                                                 std::string_view keyPath,
                                                 std::string_view valueName,
                                                 std::uint32_t bufferSize);
    // Opens the key with full access and deletes the value; the result of neither is checked.
    static void DeleteValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                            std::string_view valueName);

    static std::string TruncateAtNull(std::string_view text);
};

} // namespace halcyra
