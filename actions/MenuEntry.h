#pragma once
// The entries of "&Actions", numbered as the menu resource numbers them.
#include <array>
#include <optional>
#include <string_view>

#include "actions/MenuIds.h"

namespace halcyra {

enum class MenuEntry {
    About = ID_MNU_ABOUT,
    UpdChk = ID_MNU_UPDCHK,
    Options = ID_MNU_OPTIONS,
    Exit = ID_MNU_EXIT,
    Show = ID_MNU_SHOW,
    ShtdnNow = ID_MNU_SHTDNNOW,
    RstrtNow = ID_MNU_RSTRTNOW,
    Standby = ID_MNU_STANDBY,
    Hibernate = ID_MNU_HIBERNATE,
    Restart = ID_MNU_RESTART,
    Shutdown = ID_MENU_SHUTDOWN,
    Logoff = ID_MNU_LOGOFF,
    Monitor = ID_MNU_MONITOR,
    ScreenSaver = ID_MNU_SCREENSAVER,
};

// Every entry, in menu order: the one list the action table and the command lookup follow.
inline constexpr std::array kMenuEntries{
    MenuEntry::About,     MenuEntry::UpdChk,      MenuEntry::Options,  MenuEntry::Exit,
    MenuEntry::Show,      MenuEntry::ShtdnNow,    MenuEntry::RstrtNow, MenuEntry::Standby,
    MenuEntry::Hibernate, MenuEntry::Restart,     MenuEntry::Shutdown, MenuEntry::Logoff,
    MenuEntry::Monitor,   MenuEntry::ScreenSaver,
};

// The entry with this command number, if it is one of the menu's.
inline std::optional<MenuEntry> MenuEntryFromId(int id) {
    for (const MenuEntry entry : kMenuEntries) {
        if (static_cast<int>(entry) == id) {
            return entry;
        }
    }
    return std::nullopt;
}

// The nine power actions by name: the caption the schedule shows (the menu's, without the
// access key) and the word a command line uses, in menu order.
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
