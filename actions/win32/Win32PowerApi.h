#pragma once
// Shutdown, suspend, privileges and the version query, each bound at its first call.
#include <windows.h>

#include "actions/IPowerApi.h"
#include "common/win32/BoundProc.h"

namespace halcyra::win32 {

class Win32PowerApi final : public IPowerApi {
public:
    std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    std::int32_t SetSuspendState(bool hibernate, bool force, bool wakeupEventsDisabled) override;
    std::int32_t SetSystemPowerState(bool suspend, bool force) override;
    ProcessHandle GetCurrentProcess() override;
    std::int32_t OpenProcessToken(ProcessHandle process, std::uint32_t access,
                                  TokenHandle* token) override;
    std::int32_t LookupPrivilegeValueA(std::string_view systemName, std::string_view name,
                                       Luid* luid) override;
    std::int32_t AdjustTokenPrivileges(TokenHandle token, bool disableAll,
                                       const TokenPrivileges& newState, std::uint32_t bufferLength,
                                       TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) override;
    std::int32_t CloseHandle(TokenHandle handle) override;
    std::int32_t GetVersionExA(OsVersionInfo* info) override;
    std::int32_t GetPwrCapabilities(PowerCapabilities* capabilities) override;
    std::int32_t LockWorkStation() override;
    std::uint32_t GetLastError() override;
    std::string ErrorText(std::uint32_t error) override;

private:
    BoundProc<BOOL(WINAPI*)(UINT, DWORD)> exitWindowsEx_{"user32.dll", "ExitWindowsEx"};
    BoundProc<BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN)> setSuspendState_{"powrprof.dll",
                                                                            "SetSuspendState"};
    BoundProc<BOOL(WINAPI*)(BOOL, BOOL)> setSystemPowerState_{"kernel32.dll",
                                                              "SetSystemPowerState"};
    BoundProc<HANDLE(WINAPI*)()> getCurrentProcess_{"kernel32.dll", "GetCurrentProcess"};
    BoundProc<BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE)> openProcessToken_{"advapi32.dll",
                                                                       "OpenProcessToken"};
    BoundProc<BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID)> lookupPrivilegeValue_{"advapi32.dll",
                                                                          "LookupPrivilegeValueA"};
    BoundProc<BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD)>
        adjustTokenPrivileges_{"advapi32.dll", "AdjustTokenPrivileges"};
    BoundProc<BOOL(WINAPI*)(HANDLE)> closeHandle_{"kernel32.dll", "CloseHandle"};
    BoundProc<BOOL(WINAPI*)(LPOSVERSIONINFOA)> getVersionEx_{"kernel32.dll", "GetVersionExA"};
    BoundProc<BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES)> getPwrCapabilities_{
        "powrprof.dll", "GetPwrCapabilities"};
    BoundProc<BOOL(WINAPI*)()> lockWorkStation_{"user32.dll", "LockWorkStation"};
};

} // namespace halcyra::win32
