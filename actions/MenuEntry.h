#pragma once
// The entries of "&Actions", numbered as the menu resource numbers them.
#include <array>
#include <optional>

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
    Lock = ID_MNU_LOCK,
};

// Every entry, in menu order: the one list the action table and the command lookup follow.
inline constexpr std::array kMenuEntries{
    MenuEntry::About,     MenuEntry::UpdChk,      MenuEntry::Options,  MenuEntry::Exit,
    MenuEntry::Show,      MenuEntry::ShtdnNow,    MenuEntry::RstrtNow, MenuEntry::Standby,
    MenuEntry::Hibernate, MenuEntry::Restart,     MenuEntry::Shutdown, MenuEntry::Logoff,
    MenuEntry::Monitor,   MenuEntry::ScreenSaver, MenuEntry::Lock,
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

} // namespace halcyra
