#pragma once
// What a schedule shows: the Schedule dialog, the warning window, and the armed state in the
// main window and the menus.
#include <functional>
#include <string>
#include <string_view>

#include "schedule/ScheduleRequest.h"
#include "common/PlatformTypes.h"

namespace halcyra {

// The dialog's fields: each way of choosing "when" keeps its own value.
struct ScheduleChoice {
    MenuEntry action = MenuEntry::Shutdown;
    ScheduleKind kind = ScheduleKind::In;
    int inMinutes = 60;
    int hour = 23;
    int minute = 0;
    int idleMinutes = 30;
    std::string program{}; // Ends: a file name, "ffmpeg.exe"
    bool keepAwake = true; // the computer is kept awake while it is armed
    bool operator==(const ScheduleChoice&) const = default;

    ScheduleRequest Request() const {
        const int minutes = kind == ScheduleKind::Idle ? idleMinutes : inMinutes;
        const bool timed = kind == ScheduleKind::In || kind == ScheduleKind::Idle;
        return {action, kind,   timed ? minutes : 0,
                hour,   minute, kind == ScheduleKind::Ends ? program : std::string()};
    }
};

// When a request would run if armed now ("today 23:30", "when ffmpeg.exe ends (3 processes)");
// empty when it is out of range.
using SchedulePreview = std::function<std::string(const ScheduleRequest&)>;

class IScheduleView {
public:
    virtual ~IScheduleView() = default;
    // The Schedule dialog, modal to owner, opened on choice; false when the user cancelled.
    virtual bool AskSchedule(WindowHandle owner, ScheduleChoice& choice,
                             const SchedulePreview& preview) = 0;
    // Shown on top without taking the keyboard focus; its text changes every second. False
    // when it cannot be shown (the reason goes to the debugger's output).
    virtual bool ShowWarning(std::string_view text, bool forced) = 0;
    virtual void SetWarningText(std::string_view text) = 0;
    virtual void HideWarning() = 0;
    // The pointer is over the warning or it has the focus: the user may be about to answer it.
    virtual bool WarningInUse() const = 0;
    // The main window's status line and the menus' cancel entry; both empty when none.
    virtual void ShowScheduleState(std::string_view status, std::string_view cancelCaption) = 0;
};

} // namespace halcyra
