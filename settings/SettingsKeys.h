#pragma once
// Every value the tray program keeps between runs, named in one place.
#include <array>
#include <string_view>

namespace halcyra::settings {

inline constexpr std::string_view kAppName = "Halcyra";
inline constexpr std::string_view kSection = "Settings";

inline constexpr std::string_view kConfirm = "Confirm";
inline constexpr std::string_view kConfirmDefault = "1";

inline constexpr std::string_view kHotkeyNone = "None"; // letter key default
inline constexpr std::string_view kHotkeyIndexDefault = "0";

// One hotkey action: its letter key, its index key, its action name and its Options row.
struct HotkeyPair {
    std::string_view letterKey;
    std::string_view indexKey;
    std::string_view actionName;
    std::string_view optionsCaption;
};

// In the order every part of the program handles them (loading, registering, dialog rows).
inline constexpr auto kHotkeyPairs = std::to_array<HotkeyPair>({
    {"HotKeyScreenSaver", "HotKeyScreenSaverIndex", "ScreenSaver", "Screen Saver = CTRL + ALT +"},
    {"HotKeyMonitor", "HotKeyMonitorIndex", "TurnOffMonitor", "Turn off Monitor = CTRL + ALT +"},
    {"HotKeyLogOff", "HotKeyLogOffIndex", "LogOff", "Log Off = CTRL + ALT +"},
    {"HotKeyShutdown", "HotKeyShutdownIndex", "Shutdown", "Shutdown = CTRL + ALT +"},
    {"HotKeyRestart", "HotKeyRestartIndex", "Restart", "Restart = CTRL + ALT +"},
    {"HotKeyHibernate", "HotKeyHibernateIndex", "Hibernate", "Hibernate = CTRL + ALT +"},
    {"HotKeyStandby", "HotKeyStandbyIndex", "Standby", "Standby = CTRL + ALT +"},
});

// The hotkey action of this name; a name not in the table does not compile where it is
// used as a constant.
consteval std::string_view HotkeyAction(std::string_view name) {
    for (const HotkeyPair& pair : kHotkeyPairs) {
        if (pair.actionName == name) {
            return pair.actionName;
        }
    }
    throw "no such hotkey action";
}

// The run-at-startup entry under the current user's root.
inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "Halcyra";
// Default of the Run-entry lookup; a result equal to it means there is no entry.
inline constexpr std::string_view kRunPresenceMarker = "Z";

// The argument that makes the program start hidden in the tray.
inline constexpr std::string_view kStartArgument = "/start";

// The Schedule dialog's last choice: the action by its menu name without the access key, the
// way of choosing ("In", "At", "Idle" or "Ends"), and each way's own value.
inline constexpr std::string_view kScheduleAction = "ScheduleAction";
inline constexpr std::string_view kScheduleActionDefault = "Shutdown";
inline constexpr std::string_view kScheduleWhen = "ScheduleWhen";
inline constexpr std::string_view kScheduleWhenDefault = "In";
inline constexpr std::string_view kScheduleInMinutes = "ScheduleInMinutes";
inline constexpr std::string_view kScheduleInMinutesDefault = "60";
inline constexpr std::string_view kScheduleAt = "ScheduleAt"; // "HH:MM"
inline constexpr std::string_view kScheduleAtDefault = "23:00";
inline constexpr std::string_view kScheduleIdleMinutes = "ScheduleIdleMinutes";
inline constexpr std::string_view kScheduleIdleMinutesDefault = "30";
inline constexpr std::string_view kScheduleProgram = "ScheduleProgram"; // a file name
inline constexpr std::string_view kScheduleProgramDefault = "";

// The Keep awake dialog's last choice: how long ("Off", "For", "Until" or "While"), each way's
// own value, and whether the screen stays on too ("1" or "0").
inline constexpr std::string_view kAwakeWhen = "KeepAwakeWhen";
inline constexpr std::string_view kAwakeWhenDefault = "Off";
inline constexpr std::string_view kAwakeMinutes = "KeepAwakeMinutes";
inline constexpr std::string_view kAwakeMinutesDefault = "60";
inline constexpr std::string_view kAwakeUntil = "KeepAwakeUntil"; // "HH:MM"
inline constexpr std::string_view kAwakeUntilDefault = "18:00";
inline constexpr std::string_view kAwakeProgram = "KeepAwakeProgram"; // a file name
inline constexpr std::string_view kAwakeProgramDefault = "";
inline constexpr std::string_view kAwakeDisplay = "KeepAwakeDisplay";
inline constexpr std::string_view kAwakeDisplayDefault = "0";
// An armed schedule keeps the computer (not the screen) awake until its action: "1" or "0".
inline constexpr std::string_view kScheduleKeepsAwake = "ScheduleKeepsAwake";
inline constexpr std::string_view kScheduleKeepsAwakeDefault = "1";

} // namespace halcyra::settings
