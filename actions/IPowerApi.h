#pragma once
// The platform's shutdown, suspend, token-privilege and version calls, one to one with the
// system functions of the same names. Results are the platform's BOOL values (nonzero = TRUE).
#include <cstdint>
#include <string>
#include <string_view>

namespace halcyra {

using ProcessHandle = std::uintptr_t;
using TokenHandle = std::uintptr_t;

struct Luid {
    std::uint32_t LowPart = 0;
    std::int32_t HighPart = 0;
};

// TOKEN_PRIVILEGES with exactly one entry: 16 bytes, as the platform lays it out.
struct TokenPrivileges {
    std::uint32_t PrivilegeCount = 0;
    Luid PrivilegeLuid{};
    std::uint32_t Attributes = 0;
};
static_assert(sizeof(TokenPrivileges) == 16);

// OSVERSIONINFOA: 148 bytes.
struct OsVersionInfo {
    std::uint32_t dwOSVersionInfoSize = 0;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfo) == 148);

// The fields of SYSTEM_POWER_CAPABILITIES that the power actions look at.
struct PowerCapabilities {
    bool SystemS1 = false;
    bool SystemS2 = false;
    bool SystemS3 = false;
    bool SystemS4 = false;
    bool HiberFilePresent = false;
    bool AoAc = false; // "always on, always connected": modern standby
};

namespace power {
inline constexpr std::uint32_t kLogoff = 0;                 // EWX_LOGOFF
inline constexpr std::uint32_t kReboot = 2;                 // EWX_REBOOT
inline constexpr std::uint32_t kForce = 4;                  // EWX_FORCE
inline constexpr std::uint32_t kPowerOff = 8;               // EWX_POWEROFF
inline constexpr std::uint32_t kTokenAdjustAndQuery = 0x28; // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
inline constexpr std::uint32_t kPrivilegeEnabled = 2;       // SE_PRIVILEGE_ENABLED
inline constexpr std::uint32_t kPlatformNt = 2;             // VER_PLATFORM_WIN32_NT
inline constexpr std::string_view kShutdownPrivilege = "SeShutdownPrivilege";
} // namespace power

class IPowerApi {
public:
    virtual ~IPowerApi() = default;
    virtual std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
    // Zero as well when the power-management library or its entry point is missing, with
    // the loader's error as the last error.
    virtual std::int32_t SetSuspendState(bool hibernate, bool force, bool wakeupEventsDisabled) = 0;
    virtual std::int32_t SetSystemPowerState(bool suspend, bool force) = 0;
    virtual ProcessHandle GetCurrentProcess() = 0;
    virtual std::int32_t OpenProcessToken(ProcessHandle process, std::uint32_t access,
                                          TokenHandle* token) = 0;
    virtual std::int32_t LookupPrivilegeValueA(std::string_view systemName, std::string_view name,
                                               Luid* luid) = 0;
    virtual std::int32_t AdjustTokenPrivileges(TokenHandle token, bool disableAll,
                                               const TokenPrivileges& newState,
                                               std::uint32_t bufferLength,
                                               TokenPrivileges* previousState,
                                               std::uint32_t* returnLength) = 0;
    virtual std::int32_t CloseHandle(TokenHandle handle) = 0;
    virtual std::int32_t GetVersionExA(OsVersionInfo* info) = 0;
    // Zero when the capabilities cannot be had (the power-management library is missing).
    virtual std::int32_t GetPwrCapabilities(PowerCapabilities* capabilities) = 0;
    virtual std::int32_t LockWorkStation() = 0;
    // The error of the latest failed call above, a missing library or entry point included.
    virtual std::uint32_t GetLastError() = 0;
    // The system's text for an error number, without a line break at the end; empty when
    // the system has none.
    virtual std::string ErrorText(std::uint32_t error) = 0;
};

} // namespace halcyra
