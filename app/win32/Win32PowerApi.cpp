#include "app/win32/Win32PowerApi.h"

#include <cstring>
#include <string>

namespace halcyra::win32 {

static_assert(sizeof(TokenPrivileges) == sizeof(TOKEN_PRIVILEGES));
static_assert(sizeof(OsVersionInfo) == sizeof(OSVERSIONINFOA));

namespace {
HANDLE ToHandle(std::uintptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}
} // namespace

std::int32_t Win32PowerApi::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    auto fn = exitWindowsEx_.get();
    return fn ? fn(flags, reason) : 0;
}

std::int32_t Win32PowerApi::SetSuspendState(bool hibernate, bool force, bool wakeupEventsDisabled) {
    // Where the power-management library is missing, the action does nothing and the
    // program goes on.
    auto fn = setSuspendState_.get();
    if (!fn) {
        ::OutputDebugStringA("Halcyra: SetSuspendState is not available on this system\n");
        return 0;
    }
    return fn(hibernate, force, wakeupEventsDisabled);
}

std::int32_t Win32PowerApi::SetSystemPowerState(bool suspend, bool force) {
    auto fn = setSystemPowerState_.get();
    return fn ? fn(suspend, force) : 0;
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

} // namespace halcyra::win32
