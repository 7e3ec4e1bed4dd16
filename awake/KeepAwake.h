#pragma once
// The rules of keeping the computer awake: one hold at a time, ended by the user, at its time
// (one timer to the end at most, nothing polls), when the watched program's last process ends,
// or at exit; asserted again after every wake. What is shown is what is held: a refused hold
// is told and never shown as on. A schedule may hold the computer awake alongside.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/IClock.h"
#include "awake/AwakeRequest.h"
#include "awake/IPowerRequest.h"
#include "watch/IProcessPort.h"
#include "watch/ProcessWatcher.h"
#include "winmsg/CTimer.h"
#include "winmsg/MTimer.h"

namespace halcyra {

struct AwakeServices {
    const IClock& clock;
    MTimer& timers;
    IPowerRequest& power;
    IProcessPort& processes;
};

class KeepAwake {
public:
    struct Hooks {
        // What is held changed by itself or on request: the tip, menus and status row follow.
        std::function<void()> changed;
        // Something the user did not ask for happened (the hold was dropped after a wake).
        std::function<void(const std::string&)> tell;
    };

    KeepAwake(const AwakeServices& services, Hooks hooks);
    // Lets go: keeping awake never outlives the program.
    ~KeepAwake();
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    static bool Valid(const AwakeRequest& request);
    // Starts or replaces; a refusal changes nothing and says why.
    AwakeResult Start(const AwakeRequest& request);
    // False when it was not on.
    bool Stop();
    bool On() const { return on_; }
    const AwakeRequest& Request() const { return plan_.request; }

    // The machine woke: the hold is asserted again, an end passed asleep ends it.
    void Resumed();
    // The wall clock or the time zone changed: "until HH:MM" is found again.
    void TimeChanged();
    // At exit: everything is let go, without notice.
    void End();

    // A schedule keeps the computer (not the screen) awake until its action; reason names it.
    bool HoldForSchedule(const std::string& reason);
    void ReleaseForSchedule();

    // "Kept awake until 18:00 and the screen on"; empty when off.
    std::string Status() const;
    // "Halcyra - awake until 18:00"; empty when off.
    std::string TipText() const;
    // What the system shows to administrators: "Halcyra: kept awake until 18:00".
    std::string Reason() const;
    // Where "until HH:MM" would end if started now: "today 18:00", "tomorrow 02:00".
    std::string Preview(int hour, int minute) const;

private:
    struct Plan {
        AwakeRequest request;
        std::string program;    // the watched program's file name
        std::int64_t endMs = 0; // For: on the clock's running count
        LocalTime until;        // Until: the local day and time it ends
    };
    std::optional<std::int64_t> MsLeft(const Plan& plan) const;
    std::string What(const Plan& plan, bool forTip) const;
    std::string ReasonFor(const Plan& plan) const;
    PowerHoldResult Apply(const Plan* user);
    void Tick();
    void Reassert(const char* after);
    bool Check();
    bool ArmTimer();
    void Finish();
    void TimerRefused();
    LocalTime NextLocal(int hour, int minute) const;
    std::optional<std::int64_t> Resolve(const LocalTime& local) const;

    AwakeServices s_;
    Hooks hooks_;
    bool on_ = false;
    Plan plan_;
    std::unique_ptr<ProcessWatcher> watcher_;
    std::shared_ptr<CTimer> timer_;
    std::optional<std::string> scheduleReason_;
    bool held_ = false;
};

} // namespace halcyra
