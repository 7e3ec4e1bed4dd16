// The rules of one scheduled action.
#include "schedule/Schedule.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

#include "actions/PowerActions.h"

namespace halcyra {

namespace {

using clockText::TwoDigits;

std::string ClockText(const LocalTime& t) {
    return clockText::ClockText(t.hour, t.minute);
}

std::string Counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

std::string Minutes(int n) {
    return Counted(static_cast<std::size_t>(n), " minute", " minutes");
}

} // namespace

Schedule::Schedule(const IClock& clock, const ILastInput& input, IProcessPort& processes)
    : clock_(clock), input_(input), watcher_(processes) {}

bool Schedule::Valid(const ScheduleRequest& request) {
    if (FindPowerAction(request.action) == nullptr) {
        return false;
    }
    if (request.kind == ScheduleKind::Ends) {
        return ProcessWatcher::Id(request.program) != 0 ||
               !ProcessWatcher::FileName(request.program).empty();
    }
    if (request.kind == ScheduleKind::At) {
        return request.hour >= 0 && request.hour <= clockText::kLastHour && request.minute >= 0 &&
               request.minute <= clockText::kLastMinute;
    }
    return (request.kind == ScheduleKind::In || request.kind == ScheduleKind::Idle) &&
           request.minutes >= schedule::kMinMinutes && request.minutes <= schedule::kMaxMinutes;
}

std::string Schedule::ActionName(MenuEntry action) {
    const PowerAction* row = FindPowerAction(action);
    return row != nullptr ? std::string(row->caption) : "";
}

std::vector<MenuEntry> Schedule::Actions() {
    std::vector<MenuEntry> out;
    for (const MenuEntry entry : kMenuEntries) {
        if (FindPowerAction(entry) != nullptr) {
            out.push_back(entry);
        }
    }
    return out;
}

bool Schedule::Forced(MenuEntry action) {
    const PowerAction* row = FindPowerAction(action);
    return row != nullptr && row->forced;
}

std::string Schedule::Countdown(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    const std::int64_t h = seconds / 3600;
    const int m = static_cast<int>(seconds / 60 % 60);
    const int s = static_cast<int>(seconds % 60);
    if (h > 0) {
        return std::to_string(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
    }
    return std::to_string(m) + ":" + TwoDigits(s);
}

std::int64_t Schedule::NextClockTime(int hour, int minute, std::int64_t utcNow,
                                     LocalTime* date) const {
    const LocalTime today = clock_.ToLocal(utcNow);
    for (int day = 0; day <= 2; ++day) {
        LocalTime wanted = AddDays(today, day);
        wanted.hour = hour;
        wanted.minute = minute;
        // A skipped minute fires at the first one after it that the clock shows.
        for (int later = 0; later < 24 * 60; ++later) {
            LocalTime t = wanted;
            t.minute = minute + later;
            t.hour = hour + t.minute / 60;
            t.minute %= 60;
            if (t.hour >= 24) {
                break;
            }
            const auto utc = clock_.FromLocal(t);
            if (!utc) {
                continue;
            }
            if (*utc > utcNow) {
                if (date != nullptr) {
                    *date = wanted;
                }
                return *utc;
            }
            break; // passed today: tomorrow's
        }
    }
    return utcNow + 24 * 3600; // no such minute in two days: a broken clock; never sooner
}

std::int64_t Schedule::ResolveAt() const {
    // The day chosen at arming, found again under the clock's present rules; a day before it
    // only when that one is gone.
    LocalTime t = atDate_;
    for (int later = 0; later < 24 * 60; ++later) {
        t.minute = atDate_.minute + later;
        t.hour = atDate_.hour + t.minute / 60;
        t.minute %= 60;
        if (t.hour >= 24) {
            break;
        }
        if (const auto utc = clock_.FromLocal(t)) {
            return *utc;
        }
    }
    return clock_.UtcSeconds();
}

std::int64_t Schedule::IdleDeadline(std::int64_t /*now*/) const {
    const std::int64_t since = std::max(input_.LastInputMs(), idleFloor_);
    return std::max(since + std::int64_t{request_.minutes} * 60'000, notBefore_);
}

bool Schedule::Arm(const ScheduleRequest& request, std::string* refusal) {
    if (!Valid(request)) {
        return false;
    }
    if (request.kind == ScheduleKind::Ends) {
        // Its processes are held first: a refusal leaves what was armed as it was.
        const WatchResult watch =
            watcher_.Watch(request.program, [this](const WatchEnd& end) { ProgramEnded(end); });
        if (watch.outcome != WatchOutcome::Watching) {
            if (refusal != nullptr) {
                *refusal = watch.message;
            }
            return false;
        }
        program_ = watch.program;
    } else {
        watcher_.Cancel();
    }
    programEnded_ = false;
    const std::int64_t now = clock_.NowMs();
    request_ = request;
    armed_ = true;
    earlyDone_ = finalShown_ = warning_ = postponed_ = spanWarned_ = waiting_ = false;
    lastLook_ = now;
    idleFloor_ = now;
    notBefore_ = 0;
    switch (request.kind) {
    case ScheduleKind::In:
        deadline_ = now + std::int64_t{request.minutes} * 60'000;
        break;
    case ScheduleKind::At: {
        const std::int64_t utcNow = clock_.UtcSeconds();
        deadline_ =
            now + (NextClockTime(request.hour, request.minute, utcNow, &atDate_) - utcNow) * 1000;
        break;
    }
    case ScheduleKind::Idle:
        deadline_ = IdleDeadline(now);
        break;
    case ScheduleKind::Ends:
        deadline_ = now; // set when the program ends
        break;
    }
    long_ = deadline_ - now > schedule::kLongScheduleMs;
    return true;
}

bool Schedule::Cancel() {
    const bool was = armed_;
    watcher_.Cancel();
    armed_ = false;
    warning_ = waiting_ = false;
    return was;
}

ScheduleEvent Schedule::Warn(std::int64_t now) {
    warning_ = spanWarned_ = true;
    waiting_ = false;
    warnedAt_ = lastLook_ = now;
    return ScheduleEvent::ShowWarning;
}

ScheduleEvent Schedule::WarnAfresh(std::int64_t now) {
    deadline_ = now + schedule::kFinalWarningMs;
    notBefore_ = deadline_;
    postponed_ = true; // a span now, whatever the clock shows
    earlyDone_ = finalShown_ = true;
    return Warn(now);
}

void Schedule::ProgramEnded(const WatchEnd& end) {
    if (!armed_ || !Awaiting() || !end.AllEnded()) {
        return;
    }
    programEnded_ = true;
    // Always a full minute's warning, also after a wake: this kind never runs unseen.
    const ScheduleEvent event = WarnAfresh(clock_.NowMs());
    if (onEnded_) {
        onEnded_(event);
    }
}

ScheduleEvent Schedule::Update() {
    if (!armed_ || Awaiting()) {
        return ScheduleEvent::None;
    }
    const std::int64_t now = clock_.NowMs();
    // A warning on the screen is looked at every second: a longer gap is sleep (or a program
    // that hung), and a zero passed in it was not seen.
    const bool unseen = warning_ && now - lastLook_ > schedule::kLateMs;
    lastLook_ = now;
    bool cameBack = false;
    if (request_.kind == ScheduleKind::Idle) {
        if (spanWarned_ && input_.LastInputMs() > warnedAt_) {
            // The user is back, whether the warning was still up or closed: the idle span
            // starts again, and its warnings with it.
            spanWarned_ = earlyDone_ = finalShown_ = false;
            cameBack = warning_ && !waiting_;
        }
        deadline_ = IdleDeadline(now);
    }
    if (cameBack) {
        // It stays, saying the action waits, so that its buttons can still be reached.
        waiting_ = true;
        lingerTo_ = now + schedule::kLingerMs;
        return ScheduleEvent::Waiting;
    }
    if (now >= deadline_) {
        if (finalShown_ && !unseen && now - deadline_ <= schedule::kLateMs) {
            armed_ = warning_ = waiting_ = false;
            return ScheduleEvent::Fire;
        }
        return WarnAfresh(now);
    }
    if (!finalShown_ && now >= deadline_ - schedule::kFinalWarningMs) {
        if (deadline_ - now < schedule::kFinalWarningMs - schedule::kLateMs) {
            return WarnAfresh(now); // the minute's start was missed
        }
        earlyDone_ = finalShown_ = true;
        return Warn(now);
    }
    if (long_ && !earlyDone_ && now >= deadline_ - schedule::kEarlyWarningMs) {
        earlyDone_ = true;
        return Warn(now);
    }
    if (waiting_ && now >= lingerTo_) {
        waiting_ = warning_ = false;
        return ScheduleEvent::HideWarning;
    }
    return ScheduleEvent::None;
}

std::int64_t Schedule::NextDelayMs() const {
    if (!armed_ || Awaiting()) {
        return -1;
    }
    if (warning_) {
        return schedule::kWarningTickMs;
    }
    std::int64_t next = deadline_;
    if (!finalShown_) {
        next -= long_ && !earlyDone_ ? schedule::kEarlyWarningMs : schedule::kFinalWarningMs;
    }
    return std::max<std::int64_t>(next - clock_.NowMs(), 1);
}

std::int64_t Schedule::SecondsLeft() const {
    const std::int64_t left = deadline_ - clock_.NowMs();
    return left <= 0 ? 0 : (left + 999) / 1000;
}

ScheduleEvent Schedule::Resumed() {
    if (!armed_ || Awaiting()) {
        return ScheduleEvent::None;
    }
    const std::int64_t now = clock_.NowMs();
    if (request_.kind == ScheduleKind::Idle) {
        // Asleep is not idle: the span starts again now.
        const bool was = warning_;
        idleFloor_ = now;
        notBefore_ = 0;
        warning_ = waiting_ = spanWarned_ = earlyDone_ = finalShown_ = false;
        deadline_ = IdleDeadline(now);
        return was ? ScheduleEvent::HideWarning : ScheduleEvent::None;
    }
    // A zero passed asleep is never done on wake, whatever was on the screen before. A clock
    // time not yet postponed is found again on the wall clock first, and warned afresh there.
    if (now >= deadline_ && (request_.kind != ScheduleKind::At || postponed_)) {
        return WarnAfresh(now);
    }
    return TimeChanged();
}

ScheduleEvent Schedule::TimeChanged() {
    if (!armed_) {
        return ScheduleEvent::None;
    }
    const std::int64_t now = clock_.NowMs();
    if (request_.kind == ScheduleKind::At && !postponed_) {
        const std::int64_t target = ResolveAt();
        deadline_ = now + (target - clock_.UtcSeconds()) * 1000;
        const bool was = warning_;
        warning_ = earlyDone_ = finalShown_ = false;
        if (deadline_ - now < schedule::kFinalWarningMs) {
            return WarnAfresh(now);
        }
        const ScheduleEvent event = Update();
        return event == ScheduleEvent::None && was ? ScheduleEvent::HideWarning : event;
    }
    return Update(); // a span on the running count: the wall clock does not move it
}

void Schedule::Postpone() {
    if (!armed_ || Awaiting()) {
        return;
    }
    const std::int64_t now = clock_.NowMs();
    deadline_ = now + schedule::kPostponeMs;
    postponed_ = true;
    warning_ = waiting_ = spanWarned_ = finalShown_ = false;
    earlyDone_ = true; // ten minutes get the last-minute warning only
    idleFloor_ = now;
    notBefore_ = deadline_;
}

void Schedule::DismissWarning() {
    warning_ = waiting_ = false;
}

void Schedule::WarningInUse() {
    if (waiting_) {
        lingerTo_ = std::max(lingerTo_, clock_.NowMs() + schedule::kLingerMs);
    }
}

std::string Schedule::WhenText() const {
    if (Awaiting()) {
        return "when " + program_ + " ends";
    }
    if (request_.kind == ScheduleKind::Idle && !postponed_) {
        return "after " + Minutes(request_.minutes) + " idle";
    }
    // Seconds left rounded up: the wall clock's seconds drop their fraction, so a deadline on
    // the minute never shows as the minute before.
    const std::int64_t utc = clock_.UtcSeconds() + (deadline_ - clock_.NowMs() + 999) / 1000;
    return "at " + ClockText(clock_.ToLocal(utc));
}

std::string Schedule::Status() const {
    if (!armed_) {
        return {};
    }
    return ActionName(request_.action) + " " + WhenText();
}

std::string Schedule::CancelCaption() const {
    if (!armed_) {
        return {};
    }
    std::string when = WhenText();
    when = when.rfind("at ", 0) == 0 ? when.substr(3) : when;
    return "Ca&ncel scheduled " + ActionName(request_.action) + " (" + when + ")";
}

std::string Schedule::Preview(const ScheduleRequest& request) {
    if (!Valid(request)) {
        return {};
    }
    switch (request.kind) {
    case ScheduleKind::In:
        return "in " + Minutes(request.minutes);
    case ScheduleKind::Idle:
        return "after " + Minutes(request.minutes) + " without input";
    case ScheduleKind::Ends: {
        const std::vector<ProcessEntry> found = watcher_.Find(request.program);
        if (found.empty()) {
            const ProcessId id = ProcessWatcher::Id(request.program);
            return "when " +
                   (id != 0 ? "process " + std::to_string(id)
                            : ProcessWatcher::FileName(request.program)) +
                   " ends (not running)";
        }
        return "when " + found.front().fileName + " ends (" +
               Counted(found.size(), " process", " processes") + ")";
    }
    case ScheduleKind::At:
        break;
    }
    const std::int64_t utcNow = clock_.UtcSeconds();
    const LocalTime today = clock_.ToLocal(utcNow);
    const LocalTime when =
        clock_.ToLocal(NextClockTime(request.hour, request.minute, utcNow, nullptr));
    const bool sameDay =
        when.year == today.year && when.month == today.month && when.day == today.day;
    return (sameDay ? "today " : "tomorrow ") + ClockText(when);
}

} // namespace halcyra
