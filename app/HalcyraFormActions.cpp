// The table of the menu's handlers and the three ways in: the menu, the buttons and the hotkeys.
#include "app/HalcyraForm.h"
#include "app/ControlIds.h"

namespace halcyra {

// In menu order.
// clang-format off
const std::array<HalcyraForm::Action, kMenuEntries.size()> HalcyraForm::kActions{{
    {MenuEntry::About,       ID_COMMANDABOUT,    &HalcyraForm::CommandAbout_Click,   nullptr},
    {MenuEntry::UpdChk,      ID_COMMANDUPDATES,  &HalcyraForm::CommandUpdates_Click, nullptr},
    {MenuEntry::Options,     ID_COMMANDOPTIONS,  &HalcyraForm::CommandOptions_Click, nullptr},
    {MenuEntry::Exit,        0,                  &HalcyraForm::mnu_Exit_Click,       nullptr},
    {MenuEntry::Show,        ID_COMMANDMINIMIZE, &HalcyraForm::mnu_Show_Click,       nullptr},
    {MenuEntry::ShtdnNow,    0, nullptr, &HalcyraForm::mnu_shtdnnow_Click},
    {MenuEntry::RstrtNow,    0, nullptr, &HalcyraForm::mnu_rstrtnow_Click},
    {MenuEntry::Standby,     0, nullptr, &HalcyraForm::mnu_Standby_Click},
    {MenuEntry::Hibernate,   0, nullptr, &HalcyraForm::mnu_Hibernate_Click},
    {MenuEntry::Restart,     0, nullptr, &HalcyraForm::mnu_Restart_Click},
    {MenuEntry::Shutdown,    0, nullptr, &HalcyraForm::menu_Shutdown_Click},
    {MenuEntry::Logoff,      0, nullptr, &HalcyraForm::mnu_Logoff_Click},
    {MenuEntry::Monitor,     0, nullptr, &HalcyraForm::mnu_Monitor_Click},
    {MenuEntry::ScreenSaver, 0, nullptr, &HalcyraForm::mnu_ScreenSaver_Click},
    {MenuEntry::Lock,        0, nullptr, &HalcyraForm::mnu_Lock_Click},
}};
// clang-format on

void HalcyraForm::MenuClick(MenuEntry entry) {
    RunAction(entry, true, FailureBox::Shown);
}

bool HalcyraForm::ButtonClick(int id) {
    for (const Action& action : kActions) {
        if (action.button != 0 && action.button == id) {
            (this->*action.handler)();
            return true;
        }
    }
    return false;
}

void HalcyraForm::PerformAction(std::string_view actionName) {
    for (const PowerAction& action : kPowerActions) {
        if (!action.hotkey.empty() && action.hotkey == actionName) {
            if (action.request == PowerRequest::SystemCommand) {
                // The hotkey's keys still down would end the display's sleep at once.
                s_.windows.Sleep(form::kActionPauseMs);
            }
            RunAction(action.entry, true, FailureBox::Shown);
            return;
        }
    }
}

ActionOutcome HalcyraForm::RunAction(MenuEntry entry, bool askFirst, FailureBox failures) {
    for (const Action& action : kActions) {
        if (action.entry != entry) {
            continue;
        }
        if (action.power != nullptr) {
            return (this->*action.power)(askFirst, failures);
        }
        (this->*action.handler)();
        break;
    }
    return ActionOutcome::Done;
}

} // namespace halcyra
