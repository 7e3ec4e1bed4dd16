// The table of actions and the three ways in: the menu, the buttons and the hotkeys.
#include "app/HalcyraForm.h"
#include "actions/MenuIds.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

using settings::HotkeyAction;

// In menu order; the question texts are the ones the user sees.
// clang-format off
const std::array<HalcyraForm::Action, kMenuEntries.size()> HalcyraForm::kActions{{
    {MenuEntry::About,       ID_COMMANDABOUT,    {},                              false, {}, &HalcyraForm::CommandAbout_Click},
    {MenuEntry::UpdChk,      ID_COMMANDUPDATES,  {},                              false, {}, &HalcyraForm::CommandUpdates_Click},
    {MenuEntry::Options,     ID_COMMANDOPTIONS,  {},                              false, {}, &HalcyraForm::CommandOptions_Click},
    {MenuEntry::Exit,        0,                  {},                              false, {}, &HalcyraForm::mnu_Exit_Click},
    {MenuEntry::Show,        ID_COMMANDMINIMIZE, {},                              false, {}, &HalcyraForm::mnu_Show_Click},
    {MenuEntry::ShtdnNow,    0,                  {},                              false, "Are you sure you want to force a shutdown?", &HalcyraForm::mnu_shtdnnow_Click},
    {MenuEntry::RstrtNow,    0,                  {},                              false, "Are you sure you want to force a restart?", &HalcyraForm::mnu_rstrtnow_Click},
    {MenuEntry::Standby,     0,                  HotkeyAction("Standby"),         false, "Are you sure you want to standby?", &HalcyraForm::mnu_Standby_Click},
    {MenuEntry::Hibernate,   0,                  HotkeyAction("Hibernate"),       false, "Are you sure you want to hibernate?", &HalcyraForm::mnu_Hibernate_Click},
    {MenuEntry::Restart,     0,                  HotkeyAction("Restart"),         false, "Are you sure you want to restart?", &HalcyraForm::mnu_Restart_Click},
    {MenuEntry::Shutdown,    0,                  HotkeyAction("Shutdown"),        false, "Are you sure you want to shutdown?", &HalcyraForm::menu_Shutdown_Click},
    {MenuEntry::Logoff,      0,                  HotkeyAction("LogOff"),          false, "Are you sure you want to log off?", &HalcyraForm::mnu_Logoff_Click},
    {MenuEntry::Monitor,     0,                  HotkeyAction("TurnOffMonitor"),  true,  {}, &HalcyraForm::mnu_Monitor_Click},
    {MenuEntry::ScreenSaver, 0,                  HotkeyAction("ScreenSaver"),     true,  {}, &HalcyraForm::mnu_ScreenSaver_Click},
}};
// clang-format on

void HalcyraForm::MenuClick(MenuEntry entry) {
    for (const Action& action : kActions) {
        if (action.entry == entry) {
            (this->*action.handler)();
            return;
        }
    }
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
    for (const Action& action : kActions) {
        if (!action.hotkeyName.empty() && action.hotkeyName == actionName) {
            if (action.waitForKeysUp) {
                s_.windows.Sleep(form::kActionPauseMs);
            }
            (this->*action.handler)();
            return;
        }
    }
}

ActionOutcome HalcyraForm::RunAction(MenuEntry entry, bool askFirst) {
    askFirst_ = askFirst;
    outcome_ = ActionOutcome::Done;
    MenuClick(entry);
    askFirst_ = true;
    return outcome_;
}

} // namespace halcyra
