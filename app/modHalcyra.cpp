#include "app/modHalcyra.h"

namespace halcyra::modHalcyra {

void EnableShutdownPrivilege(IPowerApi& api) {
    const ProcessHandle process = api.GetCurrentProcess();
    TokenHandle token = 0;
    const bool opened = api.OpenProcessToken(process, power::kTokenAdjustAndQuery, &token) != 0;
    TokenPrivileges request{};
    api.LookupPrivilegeValueA("", power::kShutdownPrivilege, &request.PrivilegeLuid);
    request.PrivilegeCount = 1;
    request.Attributes = power::kPrivilegeEnabled;
    TokenPrivileges previous{};
    std::uint32_t returned = 0;
    // No result is looked at: the power request that follows is made either way.
    api.AdjustTokenPrivileges(token, false, request, sizeof(TokenPrivileges), &previous, &returned);
    // One token handle per action would otherwise stay open until the process ends.
    if (opened) {
        api.CloseHandle(token);
    }
}

} // namespace halcyra::modHalcyra
