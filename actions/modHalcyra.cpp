#include "actions/modHalcyra.h"

#include "common/Product.h"

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

StandbyPath ChooseStandby(IPowerApi& api) {
    PowerCapabilities caps;
    if (api.GetPwrCapabilities(&caps) == 0) {
        // Nothing known: the suspend request is tried, and its own failure reported.
        return StandbyPath::Suspend;
    }
    // The suspend request enters the deepest sleep state there is, S1 and S2 included.
    if (caps.SystemS1 || caps.SystemS2 || caps.SystemS3) {
        return StandbyPath::Suspend;
    }
    // Without S3 a suspend request hibernates or fails; modern standby is entered by turning
    // the display off, as the system's own power button does.
    return caps.AoAc ? StandbyPath::DisplayOff : StandbyPath::NotAvailable;
}

bool HibernationUnavailable(IPowerApi& api) {
    PowerCapabilities caps;
    if (api.GetPwrCapabilities(&caps) == 0) {
        return false;
    }
    // Hibernation needs the state and its file (the system's "hibernate off" removes the file).
    return !caps.SystemS4 || !caps.HiberFilePresent;
}

std::string FailureText(std::string_view action, std::uint32_t error, std::string_view systemText) {
    std::string text = std::string(product::kName) + " could not " + std::string(action) + ".\n\n";
    if (error == 0) {
        text += "The system refused the request without giving a reason.";
    } else if (systemText.empty()) {
        text += "The system reported error " + std::to_string(error) + ".";
    } else {
        text += std::string(systemText);
    }
    text += "\n\nYou can try again or use the Start menu.";
    return text;
}

} // namespace halcyra::modHalcyra
