#pragma once
// Everything that differs between the power actions, one row each, in the order the command
// line's usage lists them (the menu's order is kMenuEntries'). The menu, the tray popup, the
// hotkeys, the Schedule dialog, the command line and its usage all read it: a new action is one
// more row here, its menu entry and its handler.
#include <array>
#include <cstdint>
#include <string_view>

#include "actions/IPowerApi.h"
#include "actions/MenuEntry.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

// How an action asked for by name ended.
enum class ActionOutcome : std::uint8_t {
    Done,     // the request was made (or the action needs none)
    Declined, // the user answered No
    Refused,  // the system refused it, or it is not available here
};

// What an action asks of the platform.
enum class PowerRequest : std::uint8_t {
    EndSession,    // ExitWindowsEx(flags), the shutdown privilege first on the NT family
    Hibernate,     // where hibernation is not known to be off
    Standby,       // a sleep state, or the display off where only modern standby exists
    SystemCommand, // the main window's WM_SYSCOMMAND: flags is the command, argument its lParam
    Lock,          // the workstation locked; nothing to lose, so never asked first
};

struct PowerAction {
    MenuEntry entry;
    std::string_view caption;  // the menu entry's, without the access key
    std::string_view word;     // the command line's name for it
    std::string_view hotkey;   // modHotkey's action name; empty: no hotkey
    std::string_view question; // asked first when confirmation is on; empty: never asks
    std::string_view failure;  // "Halcyra could not ..." when the system refuses it
    PowerRequest request;
    std::uint32_t flags;
    std::int32_t argument;
    bool forced; // ends programs without asking them: the warning says so
};

namespace power {
inline constexpr std::uint32_t kScMonitorPower = 0xF170; // SC_MONITORPOWER
inline constexpr std::uint32_t kScScreenSave = 0xF140;   // SC_SCREENSAVE
inline constexpr std::int32_t kMonitorOff = 2;
} // namespace power

using settings::HotkeyAction;

// clang-format off
inline constexpr std::array kPowerActions{
    // Power off, not just shut down, so the machine switches itself off where it can.
    PowerAction{MenuEntry::Shutdown, "Shutdown", "shutdown", HotkeyAction("Shutdown"), "Are you sure you want to shutdown?", "shut down the computer", PowerRequest::EndSession, power::kPowerOff, 0, false},
    PowerAction{MenuEntry::Restart, "Restart", "restart", HotkeyAction("Restart"), "Are you sure you want to restart?", "restart the computer", PowerRequest::EndSession, power::kReboot, 0, false},
    PowerAction{MenuEntry::Logoff, "Logoff", "logoff", HotkeyAction("LogOff"), "Are you sure you want to log off?", "log you off", PowerRequest::EndSession, power::kLogoff, 0, false},
    PowerAction{MenuEntry::Standby, "Standby", "standby", HotkeyAction("Standby"), "Are you sure you want to standby?", "put the computer on standby", PowerRequest::Standby, 0, 0, false},
    PowerAction{MenuEntry::Hibernate, "Hibernate", "hibernate", HotkeyAction("Hibernate"), "Are you sure you want to hibernate?", "hibernate the computer", PowerRequest::Hibernate, 0, 0, false},
    PowerAction{MenuEntry::ShtdnNow, "Force a Shutdown", "forceshutdown", {}, "Are you sure you want to force a shutdown?", "force a shutdown", PowerRequest::EndSession, power::kPowerOff | power::kForce, 0, true},
    PowerAction{MenuEntry::RstrtNow, "Force a Restart", "forcerestart", {}, "Are you sure you want to force a restart?", "force a restart", PowerRequest::EndSession, power::kReboot | power::kForce, 0, true},
    PowerAction{MenuEntry::Monitor, "Turn off Monitor", "monitoroff", HotkeyAction("TurnOffMonitor"), {}, {}, PowerRequest::SystemCommand, power::kScMonitorPower, power::kMonitorOff, false},
    PowerAction{MenuEntry::ScreenSaver, "Screen Saver", "screensaver", HotkeyAction("ScreenSaver"), {}, {}, PowerRequest::SystemCommand, power::kScScreenSave, 0, false},
    PowerAction{MenuEntry::Lock, "Lock", "lock", {}, {}, "lock the computer", PowerRequest::Lock, 0, 0, false},
};
// clang-format on

// The action's row, or none for an entry that is not a power action.
constexpr const PowerAction* FindPowerAction(MenuEntry entry) {
    for (const PowerAction& action : kPowerActions) {
        if (action.entry == entry) {
            return &action;
        }
    }
    return nullptr;
}

} // namespace halcyra
