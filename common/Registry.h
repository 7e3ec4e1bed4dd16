#pragma once
// Every registry read, write and delete of the program goes through these functions: the
// exact calls (access masks, reserved arguments, order) live in one place, and every opened
// key is owned by a RegistryKey, so no path through a caller can leave one open.
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

namespace registry {

// What a key is opened for. The masks behind these stay inside the module, so no caller can
// ask for more than its task needs.
enum class Access {
    Read,  // query values
    Write, // set values
    All,   // everything, deleting included
};

// Opens an existing key (reserved options 0). Empty when it cannot be opened; status (when
// given) receives the platform's code.
RegistryKey OpenKey(IRegistryApi& api, RegKey root, std::string_view keyPath, Access access,
                    long* status = nullptr);
// Creates every missing level of keyPath, or opens the key that is there: reserved 0, no
// class, non-volatile, a handle nobody inherits.
RegistryKey CreateKey(IRegistryApi& api, RegKey root, std::string_view keyPath, Access access,
                      long* status = nullptr);

// Stores value as REG_SZ, its terminating NUL counted. 0 on success, else the platform's
// code. The key is opened with full access unless the caller asks for less.
long WriteStringValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                      std::string_view valueName, std::string_view value,
                      Access access = Access::All);

// Every read of a value, with read access only: a standard user may not write below
// HKEY_LOCAL_MACHINE, and asking for more would make a value there look missing to them.
// With a bufferSize, one read into that many bytes, and a value that does not fit gives
// nothing. Without, the type and size are asked first, and only text (REG_SZ) and number
// (REG_DWORD) values are read on, whole; any other type comes back without its bytes.
// Nothing for a missing key or value or any failed step.
std::optional<StoredValue> Read(IRegistryApi& api, RegKey root, std::string_view keyPath,
                                std::string_view valueName,
                                std::optional<std::uint32_t> bufferSize = std::nullopt);

// REG_SZ as text (trailing blanks removed, cut at the first NUL), REG_DWORD as an
// integer, anything else or any failure as defaultValue.
RegistryValue ReadValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                        std::string_view valueName, const RegistryValue& defaultValue);

// Opens the key with full access and deletes the value; the result of neither is checked.
void DeleteValue(IRegistryApi& api, RegKey root, std::string_view keyPath,
                 std::string_view valueName);

std::string TruncateAtNull(std::string_view text);

} // namespace registry

} // namespace halcyra
