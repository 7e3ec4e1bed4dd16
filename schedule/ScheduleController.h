#pragma once
// The running program's one schedule: the rules of Schedule driven by one timer to the next
// event, shown through IScheduleView, and the action run through the menu's own handler.
#include <functional>
#include <memory>
#include <string>

#include "actions/IActionRunner.h"
#include "common/IClock.h"
#include "common/IPrompt.h"
#include "schedule/IScheduleView.h"
#include "common/IWindowSystem.h"
#include "schedule/Schedule.h"
#include "schedule/ScheduleRequest.h"
#include "settings/ISettingsStore.h"
#include "winmsg/CTimer.h"
#include "winmsg/MTimer.h"

namespace halcyra {

struct ScheduleServices {
    const IClock& clock;
    const ILastInput& input;
    MTimer& timers;
    IScheduleView& view;
    IProcessPort& processes; // for a program's end
};

namespace scheduleText {
inline constexpr std::string_view kForcedWarning = "Unsaved work in open programs will be lost.";
} // namespace scheduleText

class ScheduleController final : public IScheduleControl {
public:
    struct Hooks {
        std::function<WindowHandle()> owner;
        // The armed state changed: the tray tip follows.
        std::function<void()> changed;
    };

    // Its questions and messages go to prompt; windows takes what the user is not told.
    ScheduleController(const ScheduleServices& services, IPrompt& prompt, IWindowSystem& windows,
                       ISettingsStore& settings);
    ~ScheduleController() override;
    ScheduleController(const ScheduleController&) = delete;
    ScheduleController& operator=(const ScheduleController&) = delete;

    // The main window, built after its schedule, connects itself as it is built: the action
    // runs through actions without the question, confirmed when it was armed.
    void Connect(IActionRunner& actions, Hooks hooks);

    ArmResult Arm(const ScheduleRequest& request, bool askBeforeReplacing) override;
    bool Cancel() override;
    std::string Status() const override;
    std::string Refusal() const override { return refusal_; }

    // "Sch&edule...": the dialog on the last choice, then Arm.
    void OpenDialog();
    void Tick();
    void Resumed();
    void TimeChanged();
    // The warning's buttons and its close box.
    void DoItNow();
    void Postpone();
    void WarningClosed();
    // "E&xit" while armed asks first; true when the program may end.
    bool ConfirmExit();
    // Stops the timer and the warning; the schedule ends with the program.
    void End();

    ScheduleChoice LoadChoice();
    void SaveChoice(const ScheduleChoice& choice);

private:
    void Handle(ScheduleEvent event);
    void Refresh();
    // The warning could not be shown: the user is told and the schedule ends.
    void WarningFailed();
    std::string WarningText() const;

    ScheduleServices s_;
    IPrompt& prompt_;
    IWindowSystem& windows_;
    ISettingsStore& settings_;
    IActionRunner* actions_ = nullptr; // set by Connect before anything can arm
    Hooks hooks_;
    Schedule rules_;
    std::shared_ptr<CTimer> timer_;
    std::string shownStatus_;
    std::string refusal_;
};

} // namespace halcyra
