// The rules of keeping the computer awake.
#include "awake/KeepAwake.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "common/ClockText.h"
#include "common/Product.h"
#include "common/RaisedError.h"

namespace halcyra {

namespace {

std::string ClockText(const LocalTime& t) {
    return clockText::ClockText(t.hour, t.minute);
}

bool SameDay(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::int64_t CeilDiv(std::int64_t value, std::int64_t by) {
    return value <= 0 ? 0 : (value + by - 1) / by;
}

AwakeOutcome FromWatch(WatchOutcome outcome) {
    switch (outcome) {
    case WatchOutcome::NotRunning:
        return AwakeOutcome::NotRunning;
    case WatchOutcome::CannotOpen:
        return AwakeOutcome::CannotOpen;
    default:
        return AwakeOutcome::Invalid;
    }
}

} // namespace

KeepAwake::KeepAwake(const AwakeServices& services, Hooks hooks)
    : s_(services), hooks_(std::move(hooks)) {}

KeepAwake::~KeepAwake() {
    End();
}

bool KeepAwake::Valid(const AwakeRequest& r) {
    switch (r.kind) {
    case AwakeKind::UntilOff:
        return true;
    case AwakeKind::For:
        return r.minutes >= awake::kMinMinutes && r.minutes <= awake::kMaxMinutes;
    case AwakeKind::Until:
        return r.hour >= 0 && r.hour <= 23 && r.minute >= 0 && r.minute <= 59;
    case AwakeKind::While:
        return ProcessWatcher::Id(r.program) != 0 || !ProcessWatcher::FileName(r.program).empty();
    }
    return false;
}

AwakeResult KeepAwake::Start(const AwakeRequest& request) {
    if (!Valid(request)) {
        return {AwakeOutcome::Invalid, request.kind == AwakeKind::While
                                           ? "Name a program by its file name or process id."
                                           : "Keep awake for 1 to 1440 minutes, or until a time "
                                             "from 00:00 to 23:59."};
    }
    Plan plan;
    plan.request = request;
    std::unique_ptr<ProcessWatcher> watcher;
    switch (request.kind) {
    case AwakeKind::For:
        plan.endMs = s_.clock.NowMs() + std::int64_t{request.minutes} * 60'000;
        break;
    case AwakeKind::Until:
        plan.until = NextLocal(request.hour, request.minute);
        break;
    case AwakeKind::While: {
        watcher = std::make_unique<ProcessWatcher>(s_.processes);
        const WatchResult watch = watcher->Watch(request.program, [this](const WatchEnd& end) {
            if (end.AllEnded()) {
                Finish();
            }
        });
        if (watch.outcome != WatchOutcome::Watching) {
            return {FromWatch(watch.outcome), watch.message};
        }
        plan.program = watch.program;
        break;
    }
    case AwakeKind::UntilOff:
        break;
    }
    const PowerHoldResult hold = Apply(&plan);
    if (!hold.held) {
        // What was held before still is, and still shown.
        return {AwakeOutcome::Refused, "The system refused to keep the computer awake" +
                                           (hold.why.empty() ? "." : ": " + hold.why)};
    }
    on_ = true;
    plan_ = std::move(plan);
    watcher_ = std::move(watcher); // the one replaced lets its processes go
    if (!ArmTimer()) {
        Finish(); // told here, not again through the hook
        return {AwakeOutcome::Refused, "The timer that ends keeping awake could not be set."};
    }
    hooks_.changed();
    return {AwakeOutcome::On, ""};
}

bool KeepAwake::Stop() {
    if (!on_) {
        return false;
    }
    Finish();
    return true;
}

void KeepAwake::Resumed() {
    Reassert("the wake");
}

void KeepAwake::TimeChanged() {
    // Asserted again too: the reason names the end by the clock.
    Reassert("the change of the clock");
}

void KeepAwake::Reassert(const char* after) {
    if (on_ && !Check()) {
        return; // its end has passed
    }
    if (!on_ && !scheduleReason_) {
        return;
    }
    if (!Apply(on_ ? &plan_ : nullptr).held) {
        const bool was = on_;
        on_ = false;
        if (watcher_) {
            watcher_->Cancel();
        }
        ArmTimer();
        s_.power.Release();
        held_ = false;
        if (was) {
            hooks_.changed();
            hooks_.tell("Keeping the computer awake has ended: the system refused it after " +
                        std::string(after) + ".");
        }
        return;
    }
    if (on_ && !ArmTimer()) {
        TimerRefused();
    }
}

void KeepAwake::End() {
    on_ = false;
    scheduleReason_.reset();
    watcher_.reset();
    if (timer_) {
        timer_->Interval(0);
    }
    if (held_) {
        s_.power.Release();
        held_ = false;
    }
}

bool KeepAwake::HoldForSchedule(const std::string& reason) {
    scheduleReason_ = reason;
    if (on_) {
        return held_; // the user's hold covers it
    }
    if (!Apply(nullptr).held) {
        scheduleReason_.reset();
        return false;
    }
    return true;
}

void KeepAwake::ReleaseForSchedule() {
    scheduleReason_.reset();
    if (!on_) {
        Apply(nullptr);
    }
}

std::optional<std::int64_t> KeepAwake::MsLeft(const Plan& plan) const {
    switch (plan.request.kind) {
    case AwakeKind::For:
        return plan.endMs - s_.clock.NowMs();
    case AwakeKind::Until:
        return (Resolve(plan.until).value_or(s_.clock.UtcSeconds()) - s_.clock.UtcSeconds()) * 1000;
    default:
        return std::nullopt;
    }
}

std::string KeepAwake::What(const Plan& plan, bool forTip) const {
    switch (plan.request.kind) {
    case AwakeKind::UntilOff:
        return "until turned off";
    case AwakeKind::For: {
        const std::int64_t left = MsLeft(plan).value_or(0);
        if (forTip) {
            // A moment, not a count: it stays true without a timer to refresh it.
            const std::int64_t end = s_.clock.UtcSeconds() + CeilDiv(left, 1000);
            return "until " + ClockText(s_.clock.ToLocal(end));
        }
        const std::int64_t minutes = CeilDiv(left, 60'000);
        return "for " + std::to_string(minutes) + (minutes == 1 ? " more minute" : " more minutes");
    }
    case AwakeKind::Until:
        return "until " + ClockText(plan.until);
    case AwakeKind::While:
        return "while " + plan.program + " runs";
    }
    return {};
}

PowerHoldResult KeepAwake::Apply(const Plan* user) {
    if (user == nullptr && !scheduleReason_) {
        if (held_) {
            s_.power.Release();
            held_ = false;
        }
        return {};
    }
    const bool display = user != nullptr && user->request.display;
    PowerHoldResult result =
        s_.power.Hold(display, user != nullptr ? ReasonFor(*user) : *scheduleReason_);
    held_ = held_ || result.held;
    return result;
}

void KeepAwake::Tick() {
    if (Check() && !ArmTimer()) {
        TimerRefused();
    }
}

bool KeepAwake::Check() {
    if (!on_) {
        return false;
    }
    const auto left = MsLeft(plan_);
    if (left && *left <= 0) {
        Finish();
        return false;
    }
    return true;
}

bool KeepAwake::ArmTimer() {
    const auto left = on_ ? MsLeft(plan_) : std::nullopt;
    if (!left) {
        if (timer_) {
            timer_->Interval(0);
        }
        return true;
    }
    if (!timer_) {
        timer_ = CTimer::Create(s_.timers);
        timer_->OnThatTime([this] { Tick(); });
    }
    try {
        // Started afresh: a timer kept at the same period would still count from its old start.
        timer_->Interval(0);
        timer_->Interval(static_cast<std::int32_t>(
            std::clamp<std::int64_t>(*left, 1, std::numeric_limits<std::int32_t>::max())));
    } catch (const RaisedError&) {
        return false;
    }
    return true;
}

void KeepAwake::Finish() {
    on_ = false;
    // Kept until the next start: this may run inside the watcher's own report.
    if (watcher_) {
        watcher_->Cancel();
    }
    ArmTimer();
    Apply(nullptr);
    hooks_.changed();
}

void KeepAwake::TimerRefused() {
    Finish();
    hooks_.tell("Keeping the computer awake has ended: the timer that ends it could not be set.");
}

std::string KeepAwake::Status() const {
    if (!on_) {
        return {};
    }
    return "Kept awake " + What(plan_, false) + (plan_.request.display ? " and the screen on" : "");
}

std::string KeepAwake::TipText() const {
    return on_ ? std::string(product::kName) + " - awake " + What(plan_, true) : std::string();
}

std::string KeepAwake::Reason() const {
    return on_ ? ReasonFor(plan_) : scheduleReason_.value_or("");
}

std::string KeepAwake::ReasonFor(const Plan& plan) const {
    return std::string(product::kName) + ": kept awake " + What(plan, true) +
           (plan.request.display ? " and the screen on" : "");
}

std::string KeepAwake::Preview(int hour, int minute) const {
    const LocalTime today = s_.clock.ToLocal(s_.clock.UtcSeconds());
    const LocalTime when = NextLocal(hour, minute);
    return (SameDay(when, today) ? "today " : "tomorrow ") + ClockText(when);
}

std::optional<std::int64_t> KeepAwake::Resolve(const LocalTime& local) const {
    // A minute that a daylight-saving change skips ends at the first one after it that exists.
    for (int total = local.hour * 60 + local.minute; total < 24 * 60; ++total) {
        LocalTime t = local;
        t.hour = total / 60;
        t.minute = total % 60;
        if (const auto utc = s_.clock.FromLocal(t)) {
            return utc;
        }
    }
    return std::nullopt;
}

LocalTime KeepAwake::NextLocal(int hour, int minute) const {
    const std::int64_t utcNow = s_.clock.UtcSeconds();
    LocalTime t = s_.clock.ToLocal(utcNow);
    t.hour = hour;
    t.minute = minute;
    const auto today = Resolve(t);
    return today && *today > utcNow ? t : AddDays(t, 1);
}

} // namespace halcyra
