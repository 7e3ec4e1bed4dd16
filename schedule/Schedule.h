#pragma once
// The rules of one scheduled action: when it runs, when the user is warned, and what sleep,
// a clock change or input do to it. The deadline is a point on the clock's running count,
// never a number of ticks, so a late or missed tick cannot move it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/IClock.h"
#include "schedule/ScheduleRequest.h"
#include "common/ClockText.h"
#include "watch/ProcessWatcher.h"

namespace halcyra {

namespace schedule {
inline constexpr int kMinMinutes = clockText::kMinMinutes;
inline constexpr int kMaxMinutes = clockText::kMaxMinutes;
inline constexpr std::int64_t kFinalWarningMs = 60'000;
inline constexpr std::int64_t kEarlyWarningMs = 5 * 60'000;
// Only schedules longer than this get the early warning too.
inline constexpr std::int64_t kLongScheduleMs = 10 * 60'000;
inline constexpr std::int64_t kPostponeMs = 10 * 60'000;
// A zero reached later than this was slept through (or the clock moved): warn afresh.
inline constexpr std::int64_t kLateMs = 10'000;
inline constexpr std::int64_t kWarningTickMs = 1'000;
// A warning the user came back to stays this long after it was last in use, to be answered.
inline constexpr std::int64_t kLingerMs = 5'000;
} // namespace schedule

// What a call to Schedule::Update asks of the window.
enum class ScheduleEvent : std::uint8_t {
    None,
    ShowWarning, // show (or raise again) the warning
    HideWarning, // the deadline moved away, or a waiting note is no longer needed
    Fire,        // run the action now; the schedule has ended
    Waiting,     // the user came back (idle): the warning stays, saying the action waits
};

class Schedule {
public:
    Schedule(const IClock& clock, const ILastInput& input, IProcessPort& processes);

    static bool Valid(const ScheduleRequest& request);
    // The action's name as its menu entry shows it, without the access key.
    static std::string ActionName(MenuEntry action);
    static bool Forced(MenuEntry action);
    // The power actions a schedule may run, in menu order.
    static std::vector<MenuEntry> Actions();
    // "12:05", "1:00:00": the countdown's text.
    static std::string Countdown(std::int64_t seconds);

    // Replaces whatever was armed; false (nothing changed) for an invalid request, or a program
    // that does not run or cannot be watched (refusal then says why, naming it).
    bool Arm(const ScheduleRequest& request, std::string* refusal = nullptr);
    // Where the awaited program's end is reported: the warning it starts, outside any Update.
    void OnProgramEnded(std::function<void(ScheduleEvent)> handler) {
        onEnded_ = std::move(handler);
    }
    // False when nothing was armed.
    bool Cancel();
    bool Armed() const { return armed_; }
    const ScheduleRequest& Request() const { return request_; }
    bool WarningVisible() const { return warning_; }
    // The warning says the action waits for a new idle span, no longer counting down.
    bool Waiting() const { return waiting_; }

    // Looks at the clock and the last input; call it at every tick.
    ScheduleEvent Update();
    // Milliseconds until Update has something to do; -1 when nothing is timed (no timer): none
    // armed, or a program's end awaited.
    std::int64_t NextDelayMs() const;
    // Whole seconds left, never below 0.
    std::int64_t SecondsLeft() const;
    // The machine woke: time asleep is not idle time, and a zero passed asleep is warned anew.
    ScheduleEvent Resumed();
    // The wall clock or the time zone changed: a clock time is found again.
    ScheduleEvent TimeChanged();
    // The action runs ten minutes from now.
    void Postpone();
    // The user closed the warning: it comes back at the last minute.
    void DismissWarning();
    // The pointer is over the warning or it has the focus: a waiting note stays a while more.
    void WarningInUse();

    // "Shutdown at 23:30"; empty when nothing is armed.
    std::string Status() const;
    // What the menus offer to end it: "Ca&ncel scheduled Shutdown (23:30)".
    std::string CancelCaption() const;
    // When a request would run if armed now: "in 90 minutes", "today 23:30", "tomorrow 06:00".
    // A program's end: "when ffmpeg.exe ends (3 processes)", as the system lists them now.
    std::string Preview(const ScheduleRequest& request);

private:
    // The wall-clock moment the local clock next shows hour:minute after utcNow; a minute a
    // daylight-saving change skips moves on to the first one that exists.
    std::int64_t NextClockTime(int hour, int minute, std::int64_t utcNow, LocalTime* date) const;
    std::int64_t ResolveAt() const;
    std::int64_t IdleDeadline(std::int64_t now) const;
    ScheduleEvent WarnAfresh(std::int64_t now);
    ScheduleEvent Warn(std::int64_t now);
    std::string WhenText() const;
    void ProgramEnded(const WatchEnd& end);
    // Ends: armed, its program still running; nothing is timed until it ends.
    bool Awaiting() const { return request_.kind == ScheduleKind::Ends && !programEnded_; }

    const IClock& clock_;
    const ILastInput& input_;
    ProcessWatcher watcher_;
    std::function<void(ScheduleEvent)> onEnded_;
    std::string program_;       // Ends: the file name as the system spells it
    bool programEnded_ = false; // Ends: its last process has ended
    bool armed_ = false;
    ScheduleRequest request_;
    std::int64_t deadline_ = 0;  // on the clock's running count
    bool long_ = false;          // gets the early warning
    bool earlyDone_ = false;     // the early warning has been shown
    bool finalShown_ = false;    // the last-minute warning has been shown
    bool warning_ = false;       // the warning is on the screen
    std::int64_t warnedAt_ = 0;  // when it last appeared
    bool spanWarned_ = false;    // a warning appeared in this idle span
    bool waiting_ = false;       // the user came back to it: it says the action waits
    std::int64_t lingerTo_ = 0;  // a waiting note goes at this moment
    std::int64_t lastLook_ = 0;  // the last Update: a warning's ticks that stop mean sleep
    bool postponed_ = false;     // a clock time no longer decides
    LocalTime atDate_;           // the day an "At" schedule runs
    std::int64_t idleFloor_ = 0; // idle time counts from here at the earliest
    std::int64_t notBefore_ = 0; // an idle schedule's postponement
};

} // namespace halcyra
