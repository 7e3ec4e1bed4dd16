// The power actions: one implementation over the rows of kPowerActions.
#include "app/HalcyraForm.h"
#include "actions/modHalcyra.h"
#include "actions/modOSID.h"

namespace halcyra {

// clang-format off
ActionOutcome HalcyraForm::menu_Shutdown_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Shutdown, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Restart_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Restart, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Logoff_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Logoff, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Standby_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Standby, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Hibernate_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Hibernate, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_shtdnnow_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::ShtdnNow, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_rstrtnow_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::RstrtNow, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Monitor_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Monitor, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_ScreenSaver_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::ScreenSaver, askFirst, failures); }
ActionOutcome HalcyraForm::mnu_Lock_Click(bool askFirst, FailureBox failures) { return Perform(MenuEntry::Lock, askFirst, failures); }
// clang-format on

ActionOutcome HalcyraForm::Perform(MenuEntry entry, bool askFirst, FailureBox failures) {
    const PowerAction& action = *FindPowerAction(entry);
    // Asked before the question: an action the machine cannot do is not worth confirming.
    auto standby = modHalcyra::StandbyPath::Suspend;
    if (action.request == PowerRequest::Standby) {
        standby = modHalcyra::ChooseStandby(s_.power);
        if (standby == modHalcyra::StandbyPath::NotAvailable) {
            return Unavailable(modHalcyra::kStandbyUnavailable, failures);
        }
    } else if (action.request == PowerRequest::Hibernate &&
               modHalcyra::HibernationUnavailable(s_.power)) {
        return Unavailable(modHalcyra::kHibernateUnavailable, failures);
    }
    // The choice belongs to this call alone: a handler that a box's message loop runs
    // meanwhile asks as the user set it.
    if (askFirst && confirm_ && !action.question.empty() &&
        s_.prompt.Ask(s_.view.Handle(), action.question, form::kTitle, MessageIcon::Question) !=
            Answer::Yes) {
        return ActionOutcome::Declined;
    }
    switch (action.request) {
    case PowerRequest::EndSession:
        PrivilegeOnNt();
        return Reported(s_.power.ExitWindowsEx(action.flags, 0), action, failures);
    case PowerRequest::Hibernate:
        PrivilegeOnNt();
        return Reported(s_.power.SetSuspendState(true, false, false), action, failures);
    case PowerRequest::Standby:
        if (standby == modHalcyra::StandbyPath::DisplayOff) {
            // The key or click that chose Standby must be over, or it wakes the display again.
            s_.windows.Sleep(form::kActionPauseMs);
            return mnu_Monitor_Click(false, failures);
        }
        if (!modOSID::IsNTFamily(s_.power)) {
            return Reported(s_.power.SetSystemPowerState(true, false), action, failures);
        }
        // The suspend request is refused without the privilege, as for Hibernate.
        modHalcyra::EnableShutdownPrivilege(s_.power);
        return Reported(s_.power.SetSuspendState(false, false, false), action, failures);
    case PowerRequest::SystemCommand:
        s_.windows.SendSystemCommand(s_.view.Handle(), action.flags, action.argument);
        return ActionOutcome::Done;
    case PowerRequest::Lock:
        return Reported(s_.power.LockWorkStation(), action, failures);
    }
    return ActionOutcome::Done;
}

void HalcyraForm::PrivilegeOnNt() {
    if (modOSID::IsNTFamily(s_.power)) {
        modHalcyra::EnableShutdownPrivilege(s_.power);
    }
}

ActionOutcome HalcyraForm::Reported(std::int32_t result, const PowerAction& action,
                                    FailureBox failures) {
    if (result != 0) {
        return ActionOutcome::Done;
    }
    // Asked at once, before any other call can overwrite the error.
    const std::uint32_t error = s_.power.GetLastError();
    const std::string reason = error != 0 ? s_.power.ErrorText(error) : std::string();
    Tell(modHalcyra::FailureText(action.failure, error, reason), MessageIcon::Exclamation,
         failures);
    return ActionOutcome::Refused;
}

ActionOutcome HalcyraForm::Unavailable(std::string_view text, FailureBox failures) {
    Tell(text, MessageIcon::Information, failures);
    return ActionOutcome::Refused;
}

void HalcyraForm::Tell(std::string_view text, MessageIcon icon, FailureBox failures) {
    if (failures == FailureBox::NotShown) {
        s_.windows.DebugOutput(std::string(product::kName) + ": " + std::string(text));
        return;
    }
    s_.prompt.Tell(s_.view.Handle(), text, form::kTitle, icon);
}

} // namespace halcyra
