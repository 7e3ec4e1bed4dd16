// The nine power actions.
#include "app/HalcyraForm.h"
#include "actions/modHalcyra.h"
#include "actions/modOSID.h"

namespace halcyra {

bool HalcyraForm::Confirmed(MenuEntry entry) {
    if (!confirm_ || !askFirst_) {
        return true;
    }
    std::string_view question;
    for (const Action& action : kActions) {
        if (action.entry == entry) {
            question = action.question;
        }
    }
    const bool yes = s_.windows.AskYesNo(s_.view.Handle(), question, form::kTitle,
                                         MessageIcon::Question) == Answer::Yes;
    if (!yes) {
        outcome_ = ActionOutcome::Declined;
    }
    return yes;
}

void HalcyraForm::PrivilegeOnNt() {
    if (modOSID::IsNTFamily(s_.power)) {
        modHalcyra::EnableShutdownPrivilege(s_.power);
    }
}

void HalcyraForm::ReportIfRefused(std::int32_t result, std::string_view action) {
    if (result != 0) {
        return;
    }
    outcome_ = ActionOutcome::Refused;
    // Asked at once, before any other call can overwrite the error.
    const std::uint32_t error = s_.power.GetLastError();
    const std::string reason = error != 0 ? s_.power.ErrorText(error) : std::string();
    s_.windows.ShowMessage(s_.view.Handle(), modHalcyra::FailureText(action, error, reason),
                           form::kTitle, MessageIcon::Exclamation);
}

void HalcyraForm::menu_Shutdown_Click() {
    if (Confirmed(MenuEntry::Shutdown)) {
        PrivilegeOnNt();
        // Power off, not just shut down, so the machine switches itself off where it can.
        ReportIfRefused(s_.power.ExitWindowsEx(power::kPowerOff, 0), "shut down the computer");
    }
}

void HalcyraForm::mnu_Restart_Click() {
    if (Confirmed(MenuEntry::Restart)) {
        PrivilegeOnNt();
        ReportIfRefused(s_.power.ExitWindowsEx(power::kReboot, 0), "restart the computer");
    }
}

void HalcyraForm::mnu_Logoff_Click() {
    if (Confirmed(MenuEntry::Logoff)) {
        PrivilegeOnNt();
        ReportIfRefused(s_.power.ExitWindowsEx(power::kLogoff, 0), "log you off");
    }
}

void HalcyraForm::mnu_Standby_Click() {
    // Asked before the question: an action the machine cannot do is not worth confirming.
    const modHalcyra::StandbyPath path = modHalcyra::ChooseStandby(s_.power);
    if (path == modHalcyra::StandbyPath::NotAvailable) {
        s_.windows.ShowMessage(s_.view.Handle(), modHalcyra::kStandbyUnavailable, form::kTitle,
                               MessageIcon::Information);
        outcome_ = ActionOutcome::Refused;
        return;
    }
    if (!Confirmed(MenuEntry::Standby)) {
        return;
    }
    if (path == modHalcyra::StandbyPath::DisplayOff) {
        // The key or click that chose Standby must be over, or it wakes the display again.
        s_.windows.Sleep(form::kActionPauseMs);
        mnu_Monitor_Click();
        return;
    }
    constexpr std::string_view action = "put the computer on standby";
    if (modOSID::IsNTFamily(s_.power)) {
        // The suspend request is refused without the privilege, as for Hibernate.
        modHalcyra::EnableShutdownPrivilege(s_.power);
        ReportIfRefused(s_.power.SetSuspendState(false, false, false), action);
    } else {
        ReportIfRefused(s_.power.SetSystemPowerState(true, false), action);
    }
}

void HalcyraForm::mnu_Hibernate_Click() {
    if (modHalcyra::HibernationUnavailable(s_.power)) {
        s_.windows.ShowMessage(s_.view.Handle(), modHalcyra::kHibernateUnavailable, form::kTitle,
                               MessageIcon::Information);
        outcome_ = ActionOutcome::Refused;
        return;
    }
    if (Confirmed(MenuEntry::Hibernate)) {
        PrivilegeOnNt();
        ReportIfRefused(s_.power.SetSuspendState(true, false, false), "hibernate the computer");
    }
}

void HalcyraForm::mnu_shtdnnow_Click() {
    if (Confirmed(MenuEntry::ShtdnNow)) {
        PrivilegeOnNt();
        ReportIfRefused(s_.power.ExitWindowsEx(power::kPowerOff | power::kForce, 0),
                        "force a shutdown");
    }
}

void HalcyraForm::mnu_rstrtnow_Click() {
    if (Confirmed(MenuEntry::RstrtNow)) {
        PrivilegeOnNt();
        ReportIfRefused(s_.power.ExitWindowsEx(power::kReboot | power::kForce, 0),
                        "force a restart");
    }
}

void HalcyraForm::mnu_Monitor_Click() {
    s_.windows.SendSystemCommand(s_.view.Handle(), form::kScMonitorPower, 2);
}

void HalcyraForm::mnu_ScreenSaver_Click() {
    s_.windows.SendSystemCommand(s_.view.Handle(), form::kScScreenSave, 0);
}

} // namespace halcyra
