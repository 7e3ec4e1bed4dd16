// The nine power actions.
#include "app/HalcyraForm.h"
#include "app/modHalcyra.h"
#include "app/modOSID.h"

namespace halcyra {

bool HalcyraForm::Confirmed(std::string_view question) {
    if (confirm_ == 0) {
        return true;
    }
    return s_.windows.MessageBox(s_.view.Handle(), question, form::kTitle,
                                 mb::kYesNo | mb::kIconQuestion) == mb::kYes;
}

void HalcyraForm::PrivilegeOnNt() {
    if (modOSID::IsNTFamily(s_.power) != 0) {
        modHalcyra::EnableShutdownPrivilege(s_.power);
    }
}

void HalcyraForm::menu_Shutdown_Click() {
    if (Confirmed("Are you sure you want to shutdown?")) {
        PrivilegeOnNt();
        // Power off, not just shut down, so the machine switches itself off where it can.
        s_.power.ExitWindowsEx(power::kPowerOff, 0);
    }
}

void HalcyraForm::mnu_Restart_Click() {
    if (Confirmed("Are you sure you want to restart?")) {
        PrivilegeOnNt();
        s_.power.ExitWindowsEx(power::kReboot, 0);
    }
}

void HalcyraForm::mnu_Logoff_Click() {
    if (Confirmed("Are you sure you want to log off?")) {
        PrivilegeOnNt();
        s_.power.ExitWindowsEx(power::kLogoff, 0);
    }
}

void HalcyraForm::mnu_Standby_Click() {
    if (Confirmed("Are you sure you want to standby?")) {
        if (modOSID::IsNTFamily(s_.power) != 0) {
            // The suspend request is refused without the privilege, as for Hibernate.
            modHalcyra::EnableShutdownPrivilege(s_.power);
            s_.power.SetSuspendState(false, false, false);
        } else {
            s_.power.SetSystemPowerState(true, false);
        }
    }
}

void HalcyraForm::mnu_Hibernate_Click() {
    if (Confirmed("Are you sure you want to hibernate?")) {
        PrivilegeOnNt();
        s_.power.SetSuspendState(true, false, false);
    }
}

void HalcyraForm::mnu_shtdnnow_Click() {
    if (Confirmed("Are you sure you want to force a shutdown?")) {
        PrivilegeOnNt();
        s_.power.ExitWindowsEx(power::kPowerOff | power::kForce, 0);
    }
}

void HalcyraForm::mnu_rstrtnow_Click() {
    if (Confirmed("Are you sure you want to force a restart?")) {
        PrivilegeOnNt();
        s_.power.ExitWindowsEx(power::kReboot | power::kForce, 0);
    }
}

void HalcyraForm::mnu_Monitor_Click() {
    s_.windows.SendMessage(s_.view.Handle(), form::kSysCommand, form::kScMonitorPower, 2);
}

void HalcyraForm::mnu_ScreenSaver_Click() {
    s_.windows.SendMessage(s_.view.Handle(), form::kSysCommand, form::kScScreenSave, 0);
}

} // namespace halcyra
