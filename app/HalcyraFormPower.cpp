// The power actions: one implementation over the rows of kPowerActions.
#include "app/HalcyraForm.h"
#include "actions/modHalcyra.h"
#include "actions/modOSID.h"

namespace halcyra {

// clang-format off
ActionOutcome HalcyraForm::menu_Shutdown_Click(bool askFirst) { return Perform(MenuEntry::Shutdown, askFirst); }
ActionOutcome HalcyraForm::mnu_Restart_Click(bool askFirst) { return Perform(MenuEntry::Restart, askFirst); }
ActionOutcome HalcyraForm::mnu_Logoff_Click(bool askFirst) { return Perform(MenuEntry::Logoff, askFirst); }
ActionOutcome HalcyraForm::mnu_Standby_Click(bool askFirst) { return Perform(MenuEntry::Standby, askFirst); }
ActionOutcome HalcyraForm::mnu_Hibernate_Click(bool askFirst) { return Perform(MenuEntry::Hibernate, askFirst); }
ActionOutcome HalcyraForm::mnu_shtdnnow_Click(bool askFirst) { return Perform(MenuEntry::ShtdnNow, askFirst); }
ActionOutcome HalcyraForm::mnu_rstrtnow_Click(bool askFirst) { return Perform(MenuEntry::RstrtNow, askFirst); }
ActionOutcome HalcyraForm::mnu_Monitor_Click(bool askFirst) { return Perform(MenuEntry::Monitor, askFirst); }
ActionOutcome HalcyraForm::mnu_ScreenSaver_Click(bool askFirst) { return Perform(MenuEntry::ScreenSaver, askFirst); }
ActionOutcome HalcyraForm::mnu_Lock_Click(bool askFirst) { return Perform(MenuEntry::Lock, askFirst); }
// clang-format on

ActionOutcome HalcyraForm::Perform(MenuEntry entry, bool askFirst) {
    const PowerAction& action = *FindPowerAction(entry);
    // Asked before the question: an action the machine cannot do is not worth confirming.
    auto standby = modHalcyra::StandbyPath::Suspend;
    if (action.request == PowerRequest::Standby) {
        standby = modHalcyra::ChooseStandby(s_.power);
        if (standby == modHalcyra::StandbyPath::NotAvailable) {
            return Unavailable(modHalcyra::kStandbyUnavailable);
        }
    } else if (action.request == PowerRequest::Hibernate &&
               modHalcyra::HibernationUnavailable(s_.power)) {
        return Unavailable(modHalcyra::kHibernateUnavailable);
    }
    // The choice belongs to this call alone: a handler that a box's message loop runs
    // meanwhile asks as the user set it.
    if (askFirst && confirm_ && !action.question.empty() &&
        s_.windows.AskYesNo(s_.view.Handle(), action.question, form::kTitle,
                            MessageIcon::Question) != Answer::Yes) {
        return ActionOutcome::Declined;
    }
    switch (action.request) {
    case PowerRequest::EndSession:
        PrivilegeOnNt();
        return Reported(s_.power.ExitWindowsEx(action.flags, 0), action);
    case PowerRequest::Hibernate:
        PrivilegeOnNt();
        return Reported(s_.power.SetSuspendState(true, false, false), action);
    case PowerRequest::Standby:
        if (standby == modHalcyra::StandbyPath::DisplayOff) {
            // The key or click that chose Standby must be over, or it wakes the display again.
            s_.windows.Sleep(form::kActionPauseMs);
            return mnu_Monitor_Click(false);
        }
        if (!modOSID::IsNTFamily(s_.power)) {
            return Reported(s_.power.SetSystemPowerState(true, false), action);
        }
        // The suspend request is refused without the privilege, as for Hibernate.
        modHalcyra::EnableShutdownPrivilege(s_.power);
        return Reported(s_.power.SetSuspendState(false, false, false), action);
    case PowerRequest::SystemCommand:
        s_.windows.SendSystemCommand(s_.view.Handle(), action.flags, action.argument);
        return ActionOutcome::Done;
    case PowerRequest::Lock:
        return Reported(s_.power.LockWorkStation(), action);
    }
    return ActionOutcome::Done;
}

void HalcyraForm::PrivilegeOnNt() {
    if (modOSID::IsNTFamily(s_.power)) {
        modHalcyra::EnableShutdownPrivilege(s_.power);
    }
}

ActionOutcome HalcyraForm::Reported(std::int32_t result, const PowerAction& action) {
    if (result != 0) {
        return ActionOutcome::Done;
    }
    // Asked at once, before any other call can overwrite the error.
    const std::uint32_t error = s_.power.GetLastError();
    const std::string reason = error != 0 ? s_.power.ErrorText(error) : std::string();
    s_.windows.ShowMessage(s_.view.Handle(), modHalcyra::FailureText(action.failure, error, reason),
                           form::kTitle, MessageIcon::Exclamation);
    return ActionOutcome::Refused;
}

ActionOutcome HalcyraForm::Unavailable(std::string_view text) {
    s_.windows.ShowMessage(s_.view.Handle(), text, form::kTitle, MessageIcon::Information);
    return ActionOutcome::Refused;
}

} // namespace halcyra
