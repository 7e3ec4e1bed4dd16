#pragma once
// The nine power actions by name, once: the caption the schedule shows (the menu's, without the
// access key) and the word a command line uses, in menu order.
#include <array>
#include <string_view>

#include "app/MenuEntry.h"

namespace halcyra {

struct PowerActionName {
    MenuEntry entry;
    std::string_view caption;
    std::string_view word;
    bool forced; // ends programs without asking them: the warning says so
};

inline constexpr std::array<PowerActionName, 9> kPowerActionNames{{
    {MenuEntry::ShtdnNow, "Force a Shutdown", "forceshutdown", true},
    {MenuEntry::RstrtNow, "Force a Restart", "forcerestart", true},
    {MenuEntry::Standby, "Standby", "standby", false},
    {MenuEntry::Hibernate, "Hibernate", "hibernate", false},
    {MenuEntry::Restart, "Restart", "restart", false},
    {MenuEntry::Shutdown, "Shutdown", "shutdown", false},
    {MenuEntry::Logoff, "Logoff", "logoff", false},
    {MenuEntry::Monitor, "Turn off Monitor", "monitoroff", false},
    {MenuEntry::ScreenSaver, "Screen Saver", "screensaver", false},
}};

// The action's names, or none for an entry that is not a power action.
inline const PowerActionName* FindPowerAction(MenuEntry entry) {
    for (const PowerActionName& action : kPowerActionNames) {
        if (action.entry == entry) {
            return &action;
        }
    }
    return nullptr;
}

} // namespace halcyra
