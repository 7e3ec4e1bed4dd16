// The running program's one schedule.
#include "schedule/ScheduleController.h"

#include <algorithm>
#include <limits>

#include "settings/SettingsKeys.h"

namespace halcyra {

namespace {

constexpr std::string_view kTitle = "Halcyra";
constexpr std::array<std::string_view, 4> kKinds{"In", "At", "Idle", "Ends"};

} // namespace

ScheduleController::ScheduleController(const ScheduleServices& services, IPrompt& prompt,
                                       IWindowSystem& windows, ISettingsStore& settings)
    : s_(services), prompt_(prompt), windows_(windows), settings_(settings),
      rules_(services.clock, services.input, services.processes) {
    rules_.OnProgramEnded([this](ScheduleEvent event) { Handle(event); });
}

void ScheduleController::Connect(IActionRunner& actions, Hooks hooks) {
    actions_ = &actions;
    hooks_ = std::move(hooks);
}

ScheduleController::~ScheduleController() {
    End();
}

ArmResult ScheduleController::Arm(const ScheduleRequest& request, bool askBeforeReplacing) {
    if (!Schedule::Valid(request)) {
        return ArmResult::Invalid;
    }
    if (rules_.Armed() && askBeforeReplacing) {
        const std::string question = rules_.Status() + " is already scheduled. Replace it with " +
                                     Schedule::ActionName(request.action) + " " +
                                     rules_.Preview(request) + "?";
        if (prompt_.Ask(hooks_.owner(), question, kTitle, MessageIcon::Question) != Answer::Yes) {
            return ArmResult::Kept;
        }
    }
    const bool hadWarning = rules_.WarningVisible();
    if (!rules_.Arm(request, &refusal_)) {
        return ArmResult::Refused;
    }
    if (hadWarning) {
        s_.view.HideWarning();
    }
    Handle(rules_.Update());
    return ArmResult::Armed;
}

bool ScheduleController::Cancel() {
    const bool hadWarning = rules_.WarningVisible();
    const bool was = rules_.Cancel();
    if (hadWarning) {
        s_.view.HideWarning();
    }
    Refresh();
    return was;
}

std::string ScheduleController::Status() const {
    return rules_.Status();
}

void ScheduleController::OpenDialog() {
    ScheduleChoice choice = LoadChoice();
    const SchedulePreview preview = [this](const ScheduleRequest& r) { return rules_.Preview(r); };
    if (!s_.view.AskSchedule(hooks_.owner(), choice, preview)) {
        return;
    }
    SaveChoice(choice);
    if (Arm(choice.Request(), true) == ArmResult::Refused) {
        prompt_.Tell(hooks_.owner(), refusal_, kTitle, MessageIcon::Exclamation);
    }
}

void ScheduleController::Tick() {
    if (rules_.Waiting() && s_.view.WarningInUse()) {
        rules_.WarningInUse();
    }
    Handle(rules_.Update());
}

void ScheduleController::Resumed() {
    Handle(rules_.Resumed());
}

void ScheduleController::TimeChanged() {
    Handle(rules_.TimeChanged());
}

void ScheduleController::DoItNow() {
    if (!rules_.Armed()) {
        return;
    }
    const MenuEntry action = rules_.Request().action;
    Cancel();
    actions_->RunAction(action, false, FailureBox::Shown);
}

void ScheduleController::Postpone() {
    rules_.Postpone();
    s_.view.HideWarning();
    Refresh();
}

void ScheduleController::WarningClosed() {
    rules_.DismissWarning();
    Refresh();
}

bool ScheduleController::ConfirmExit() {
    if (!rules_.Armed()) {
        return true;
    }
    const std::string question =
        rules_.Status() + " is scheduled. It ends when Halcyra exits. Exit anyway?";
    if (prompt_.Ask(hooks_.owner(), question, kTitle, MessageIcon::Question) != Answer::Yes) {
        return false;
    }
    Cancel();
    return true;
}

void ScheduleController::End() {
    if (rules_.WarningVisible()) {
        s_.view.HideWarning();
    }
    rules_.Cancel();
    if (timer_) {
        timer_->Interval(0);
    }
}

void ScheduleController::Handle(ScheduleEvent event) {
    switch (event) {
    case ScheduleEvent::ShowWarning:
        if (!s_.view.ShowWarning(WarningText(), Schedule::Forced(rules_.Request().action))) {
            WarningFailed();
            return;
        }
        break;
    case ScheduleEvent::HideWarning:
        s_.view.HideWarning();
        break;
    case ScheduleEvent::Fire:
        s_.view.HideWarning();
        Refresh();
        // A refusal is reported by the handler; the schedule has ended either way.
        actions_->RunAction(rules_.Request().action, false, FailureBox::Shown);
        return;
    case ScheduleEvent::Waiting:
    case ScheduleEvent::None:
        if (rules_.WarningVisible()) {
            s_.view.SetWarningText(WarningText());
        }
        break;
    }
    Refresh();
}

void ScheduleController::Refresh() {
    // One timer to the next event; none at all while nothing is armed.
    const std::int64_t delay = rules_.NextDelayMs();
    if (delay < 0) {
        if (timer_) {
            timer_->Interval(0);
        }
    } else {
        if (!timer_) {
            timer_ = CTimer::Create(s_.timers);
            timer_->OnThatTime([this] { Tick(); });
        }
        timer_->Interval(static_cast<std::int32_t>(
            std::min<std::int64_t>(delay, std::numeric_limits<std::int32_t>::max())));
    }
    const std::string status = rules_.Status();
    if (status != shownStatus_) {
        shownStatus_ = status;
        s_.view.ShowScheduleState(status, rules_.CancelCaption());
        hooks_.changed();
    }
}

void ScheduleController::WarningFailed() {
    // Without its warning the action would run unseen: the schedule ends instead. Ended
    // before the box, whose message loop would go on ticking it.
    const std::string status = rules_.Status();
    rules_.Cancel();
    Refresh();
    windows_.DebugOutput("Halcyra: no warning window; the schedule " + status + " ended");
    prompt_.Tell(hooks_.owner(),
                 "The warning before " + status +
                     " could not be shown, so the scheduled action was cancelled.",
                 kTitle, MessageIcon::Exclamation);
}

std::string ScheduleController::WarningText() const {
    const ScheduleRequest& request = rules_.Request();
    if (rules_.Waiting()) {
        return Schedule::ActionName(request.action) + " now waits for " +
               std::to_string(request.minutes) + (request.minutes == 1 ? " minute" : " minutes") +
               " without input.";
    }
    return Schedule::ActionName(request.action) + " in " +
           Schedule::Countdown(rules_.SecondsLeft());
}

ScheduleChoice ScheduleController::LoadChoice() {
    auto get = [this](std::string_view key, std::string_view fallback) {
        return settings_.GetSetting(settings::kAppName, settings::kSection, key, fallback);
    };
    ScheduleChoice c;
    const std::string action = get(settings::kScheduleAction, settings::kScheduleActionDefault);
    for (const MenuEntry entry : Schedule::Actions()) {
        if (Schedule::ActionName(entry) == action) {
            c.action = entry;
        }
    }
    const std::string kind = get(settings::kScheduleWhen, settings::kScheduleWhenDefault);
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (kKinds[i] == kind) {
            c.kind = static_cast<ScheduleKind>(i);
        }
    }
    c.inMinutes = clockText::ParseMinutes(
                      get(settings::kScheduleInMinutes, settings::kScheduleInMinutesDefault))
                      .value_or(c.inMinutes);
    c.idleMinutes = clockText::ParseMinutes(
                        get(settings::kScheduleIdleMinutes, settings::kScheduleIdleMinutesDefault))
                        .value_or(c.idleMinutes);
    if (const auto at =
            clockText::ParseClockTime(get(settings::kScheduleAt, settings::kScheduleAtDefault))) {
        c.hour = at->hour;
        c.minute = at->minute;
    }
    c.program = ProcessWatcher::FileName(
        get(settings::kScheduleProgram, settings::kScheduleProgramDefault));
    c.keepAwake = get(settings::kScheduleKeepsAwake, settings::kScheduleKeepsAwakeDefault) != "0";
    return c;
}

void ScheduleController::SaveChoice(const ScheduleChoice& c) {
    auto save = [this](std::string_view key, const std::string& value) {
        settings_.SaveSetting(settings::kAppName, settings::kSection, key, value);
    };
    save(settings::kScheduleAction, Schedule::ActionName(c.action));
    save(settings::kScheduleWhen, std::string(kKinds[static_cast<std::size_t>(c.kind)]));
    save(settings::kScheduleInMinutes, std::to_string(c.inMinutes));
    save(settings::kScheduleAt, clockText::ClockText(c.hour, c.minute));
    save(settings::kScheduleIdleMinutes, std::to_string(c.idleMinutes));
    save(settings::kScheduleProgram, c.program);
    save(settings::kScheduleKeepsAwake, c.keepAwake ? "1" : "0");
}

} // namespace halcyra
