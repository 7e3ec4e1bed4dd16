#include "actions/win32/Win32PowerApi.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "common/win32/SystemErrorText.h"

namespace halcyra::win32 {

static_assert(sizeof(TokenPrivileges) == sizeof(TOKEN_PRIVILEGES));
static_assert(sizeof(OsVersionInfo) == sizeof(OSVERSIONINFOA));
// The headers still call the byte after Hiberboot and WakeAlarmPresent a spare; it is AoAc.
static_assert(offsetof(SYSTEM_POWER_CAPABILITIES, spare2) == 18);

namespace {
HANDLE ToHandle(std::uintptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

// A call that could not be bound fails with the loader's reason as its last error.
template <typename Bound>
std::int32_t Unbound(const Bound& bound) {
    ::SetLastError(bound.error() != 0 ? bound.error() : ERROR_PROC_NOT_FOUND);
    return 0;
}
} // namespace

std::int32_t Win32PowerApi::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    auto fn = exitWindowsEx_.get();
    return fn ? fn(flags, reason) : Unbound(exitWindowsEx_);
}

std::int32_t Win32PowerApi::LockWorkStation() {
    auto fn = lockWorkStation_.get();
    return fn ? fn() : Unbound(lockWorkStation_);
}

std::int32_t Win32PowerApi::SetSuspendState(bool hibernate, bool force, bool wakeupEventsDisabled) {
    auto fn = setSuspendState_.get();
    if (!fn) {
        return Unbound(setSuspendState_);
    }
    return fn(hibernate, force, wakeupEventsDisabled);
}

std::int32_t Win32PowerApi::SetSystemPowerState(bool suspend, bool force) {
    auto fn = setSystemPowerState_.get();
    return fn ? fn(suspend, force) : Unbound(setSystemPowerState_);
}

ProcessHandle Win32PowerApi::GetCurrentProcess() {
    auto fn = getCurrentProcess_.get();
    return fn ? reinterpret_cast<ProcessHandle>(fn()) : 0;
}

std::int32_t Win32PowerApi::OpenProcessToken(ProcessHandle process, std::uint32_t access,
                                             TokenHandle* token) {
    auto fn = openProcessToken_.get();
    HANDLE handle = nullptr;
    const BOOL ok = fn ? fn(ToHandle(process), access, &handle) : FALSE;
    *token = reinterpret_cast<TokenHandle>(handle);
    return ok;
}

std::int32_t Win32PowerApi::LookupPrivilegeValueA(std::string_view systemName,
                                                  std::string_view name, Luid* luid) {
    auto fn = lookupPrivilegeValue_.get();
    if (!fn) {
        return 0;
    }
    const std::string system(systemName);
    const std::string privilege(name);
    LUID value{};
    const BOOL ok = fn(system.c_str(), privilege.c_str(), &value);
    luid->LowPart = value.LowPart;
    luid->HighPart = value.HighPart;
    return ok;
}

std::int32_t Win32PowerApi::AdjustTokenPrivileges(TokenHandle token, bool disableAll,
                                                  const TokenPrivileges& newState,
                                                  std::uint32_t bufferLength,
                                                  TokenPrivileges* previousState,
                                                  std::uint32_t* returnLength) {
    auto fn = adjustTokenPrivileges_.get();
    if (!fn) {
        return 0;
    }
    TOKEN_PRIVILEGES request{};
    request.PrivilegeCount = newState.PrivilegeCount;
    request.Privileges[0].Luid.LowPart = newState.PrivilegeLuid.LowPart;
    request.Privileges[0].Luid.HighPart = newState.PrivilegeLuid.HighPart;
    request.Privileges[0].Attributes = newState.Attributes;
    TOKEN_PRIVILEGES previous{};
    DWORD returned = 0;
    const BOOL ok = fn(ToHandle(token), disableAll, &request, bufferLength, &previous, &returned);
    if (previousState) {
        previousState->PrivilegeCount = previous.PrivilegeCount;
        previousState->PrivilegeLuid.LowPart = previous.Privileges[0].Luid.LowPart;
        previousState->PrivilegeLuid.HighPart = previous.Privileges[0].Luid.HighPart;
        previousState->Attributes = previous.Privileges[0].Attributes;
    }
    if (returnLength) {
        *returnLength = returned;
    }
    return ok;
}

std::int32_t Win32PowerApi::CloseHandle(TokenHandle handle) {
    auto fn = closeHandle_.get();
    return fn ? fn(ToHandle(handle)) : 0;
}

std::int32_t Win32PowerApi::GetVersionExA(OsVersionInfo* info) {
    auto fn = getVersionEx_.get();
    if (!fn) {
        return 0;
    }
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
    const BOOL ok = fn(&record);
    info->dwMajorVersion = record.dwMajorVersion;
    info->dwMinorVersion = record.dwMinorVersion;
    info->dwBuildNumber = record.dwBuildNumber;
    info->dwPlatformId = record.dwPlatformId;
    std::memcpy(info->szCSDVersion, record.szCSDVersion, sizeof info->szCSDVersion);
    return ok;
}

std::int32_t Win32PowerApi::GetPwrCapabilities(PowerCapabilities* capabilities) {
    auto fn = getPwrCapabilities_.get();
    if (!fn) {
        return Unbound(getPwrCapabilities_);
    }
    SYSTEM_POWER_CAPABILITIES record{};
    if (!fn(&record)) {
        return 0;
    }
    capabilities->SystemS1 = record.SystemS1 != 0;
    capabilities->SystemS2 = record.SystemS2 != 0;
    capabilities->SystemS3 = record.SystemS3 != 0;
    capabilities->SystemS4 = record.SystemS4 != 0;
    capabilities->HiberFilePresent = record.HiberFilePresent != 0;
    capabilities->AoAc = record.spare2[2] != 0;
    return 1;
}

std::uint32_t Win32PowerApi::GetLastError() {
    return ::GetLastError();
}

std::string Win32PowerApi::ErrorText(std::uint32_t error) {
    return SystemErrorText(error);
}

} // namespace halcyra::win32
