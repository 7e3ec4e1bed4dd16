// Keeping awake as one table: each row a run of steps (start, replace, time passing, a clock
// change, a wake, a program's end, exit) and what is shown and held after it. After every step:
// what is shown is what is held, and one timer at most, only while an end time is pending.
#include <gtest/gtest.h>

#include <functional>

#include "awake/KeepAwake.h"
#include "support/FakeClock.h"
#include "support/FakePowerRequest.h"
#include "support/FakeProcessPort.h"
#include "support/FakeTimerPlatform.h"

namespace halcyra::test {
namespace {

constexpr std::int64_t kMin = 60'000;

struct Bench {
    FakeClock clock;
    FakeTimerPlatform timerPlatform;
    MTimer timers{timerPlatform};
    FakePowerRequest power;
    FakeProcessPort processes;
    std::vector<std::string> notes; // told to the user, refusals, previews
    bool schedule = false;
    KeepAwake awake{{clock, timers, power, processes}, {[] {}, [this](auto& t) { Note(t); }}};

    void Note(const std::string& text) {
        if (!text.empty()) {
            notes.push_back(text);
        }
    }

    Bench() {
        clock.SetLocal({2026, 3, 28, 12, 0});
        // Daylight saving starts at 02:00 local on the 29th: the clock jumps to 03:00.
        clock.changes.push_back({CivilSeconds({2026, 3, 29, 1, 0}), 7200});
        processes.running = {{40, "ffmpeg.exe"}, {44, "ffmpeg.exe"}};
    }
};

using Step = std::function<void(Bench&)>;

// clang-format off
const auto Off = [](bool display = false) { return AwakeRequest{AwakeKind::UntilOff, 0, 0, 0, "", display}; };
const auto For = [](int minutes, bool display = false) { return AwakeRequest{AwakeKind::For, minutes, 0, 0, "", display}; };
const auto Until = [](int hour, int minute) { return AwakeRequest{AwakeKind::Until, 0, hour, minute, "", false}; };
const auto While = [](const char* program) { return AwakeRequest{AwakeKind::While, 0, 0, 0, program, false}; };
const auto Start = [](AwakeRequest r) -> Step { return [r](Bench& b) { b.Note(b.awake.Start(r).message); }; };
// Time passes asleep: no tick, then the wake.
const auto SleepThenWake = [](std::int64_t ms) -> Step { return [ms](Bench& b) { b.clock.Advance(ms); b.awake.Resumed(); }; };
const auto SetClock = [](LocalTime t) -> Step { return [t](Bench& b) { b.clock.SetLocal(t); b.awake.TimeChanged(); }; };
const auto Refuse = []() -> Step { return [](Bench& b) { b.power.refuse = true; }; };
const auto EndProcess = [](ProcessId id) -> Step { return [id](Bench& b) { b.processes.End(id); }; };
const auto Preview = [](int h, int m) -> Step { return [=](Bench& b) { b.Note(b.awake.Preview(h, m)); }; };
const auto Call = [](std::function<void(Bench&)> f) -> Step { return f; };
// clang-format on

// Time passes with the message loop running: the timer ticks when it is due.
Step Wait(std::int64_t ms) {
    return [ms](Bench& b) {
        for (std::int64_t left = ms; left > 0;) {
            const auto running = b.timerPlatform.running;
            const std::int64_t step = running.empty() ? left : running.begin()->second;
            b.clock.Advance(std::min(step, left));
            left -= step;
            if (left >= 0 && !running.empty()) {
                b.timers.TimerProc(running.begin()->first);
            }
        }
    };
}

TEST(KeepAwake, Rules) {
    struct Row {
        const char* name;
        std::vector<Step> steps;
        std::string status;
        std::string tip;
        std::string heldReason; // empty: nothing held
        std::int64_t timer;     // the one timer's interval, 0 for none
        std::vector<std::string> notes;
    };
    const std::string kRefused = "The system refused to keep the computer awake: Access is denied";
    const std::string kRange =
        "Keep awake for 1 to 1440 minutes, or until a time from 00:00 to 23:59.";
    const std::string kOff = "Kept awake until turned off";
    const std::string kOffTip = "Halcyra - awake until turned off";
    const std::string kOffHeld = "Halcyra: kept awake until turned off";
    const Step holdForSchedule =
        Call([](Bench& b) { b.schedule = b.awake.HoldForSchedule("Halcyra: Shutdown at 14:00"); });
    const Step exit = Call([](Bench& b) { b.awake.End(); });
    // clang-format off
    const Row rows[] = {
        {"until turned off", {Start(Off())}, kOff, kOffTip, kOffHeld, 0, {}},
        {"for minutes, with the screen", {Start(For(30, true)), Wait(90'000)},
         "Kept awake for 29 more minutes and the screen on", "Halcyra - awake until 12:30",
         "Halcyra: kept awake until 12:30 and the screen on", 30 * kMin, {}},
        {"until a time ends then", {Start(Until(18, 0)), Wait(6 * 60 * kMin)}, "", "", "", 0, {}},
        {"across midnight", {SetClock({2026, 3, 28, 23, 0}), Preview(2, 0), Preview(23, 30), Start(Until(1, 0))},
         "Kept awake until 01:00", "Halcyra - awake until 01:00", "Halcyra: kept awake until 01:00",
         2 * 60 * kMin, {"tomorrow 02:00", "today 23:30"}},
        {"a minute daylight saving skips ends at the next that exists",
         {SetClock({2026, 3, 29, 0, 0}), Start(Until(2, 30)), Wait(2 * 60 * kMin)}, "", "", "", 0, {}},
        {"the clock set forward and back",
         {Start(Until(18, 0)), SetClock({2026, 3, 28, 17, 0}), SetClock({2026, 3, 28, 16, 0})},
         "Kept awake until 18:00", "Halcyra - awake until 18:00", "Halcyra: kept awake until 18:00",
         2 * 60 * kMin, {}},
        {"the clock set past the time", {Start(Until(18, 0)), SetClock({2026, 3, 28, 18, 30})}, "", "", "", 0, {}},
        {"a span ignores the clock", {Start(For(60)), SetClock({2026, 3, 28, 20, 0})},
         "Kept awake for 60 more minutes", "Halcyra - awake until 21:00",
         "Halcyra: kept awake until 21:00", 60 * kMin, {}},
        {"asserted again after a wake",
         {Start(Off()), SleepThenWake(5 * kMin),
          Call([](Bench& b) { EXPECT_EQ(b.power.log, std::vector<std::string>(2, "Hold Halcyra: kept awake until turned off")); })},
         kOff, kOffTip, kOffHeld, 0, {}},
        {"an end passed asleep ends it at the wake", {Start(For(30)), SleepThenWake(60 * kMin)}, "", "", "", 0, {}},
        {"refused at the wake: told, let go", {Start(Off()), Refuse(), SleepThenWake(kMin)}, "", "", "", {},
         {"Keeping the computer awake has ended: the system refused it after the wake."}},
        {"a refused end timer: told, let go", {Call([](Bench& b) { b.timerPlatform.refuse = true; }), Start(For(30))},
         "", "", "", 0, {"The timer that ends keeping awake could not be set."}},
        {"refused: never shown as on", {Refuse(), Start(For(30))}, "", "", "", 0, {kRefused}},
        {"a refused replacement keeps what is held", {Start(Off()), Refuse(), Start(For(30))},
         kOff, kOffTip, kOffHeld, 0, {kRefused}},
        {"replaced", {Start(For(30)), Start(Until(13, 0)), Start(Off(true))},
         kOff + " and the screen on", kOffTip, kOffHeld + " and the screen on", 0, {}},
        {"out of range changes nothing",
         {Start(For(20)), Start(For(0)), Start(For(1441)), Start(Until(24, 0)), Start(While(" "))},
         "Kept awake for 20 more minutes", "Halcyra - awake until 12:20", "Halcyra: kept awake until 12:20",
         20 * kMin, {kRange, kRange, kRange, "Name a program by its file name or process id."}},
        {"while a program runs: one of two ends", {Start(While("ffmpeg.exe")), EndProcess(44)},
         "Kept awake while ffmpeg.exe runs", "Halcyra - awake while ffmpeg.exe runs",
         "Halcyra: kept awake while ffmpeg.exe runs", 0, {}},
        {"while a program runs: the last ends", {Start(While("ffmpeg.exe")), EndProcess(44), EndProcess(40)},
         "", "", "", 0, {}},
        {"a program that is not running", {Start(While("vlc.exe"))}, "", "", "", 0, {"vlc.exe is not running."}},
        {"a program replaced lets its processes go", {Start(While("40")), Start(Off()), EndProcess(40)},
         kOff, kOffTip, kOffHeld, 0, {}},
        {"turned off", {Start(For(30, true)), Call([](Bench& b) { EXPECT_TRUE(b.awake.Stop()); EXPECT_FALSE(b.awake.Stop()); })},
         "", "", "", 0, {}},
        {"exit lets go", {Start(While("ffmpeg.exe")), exit, EndProcess(40), EndProcess(44)}, "", "", "", 0, {}},
        {"a schedule's hold outlasts the user's", {holdForSchedule, Start(For(10)), Wait(10 * kMin)},
         "", "", "Halcyra: Shutdown at 14:00", 0, {}},
        {"the schedule's hold ends",
         {holdForSchedule, Call([](Bench& b) { b.awake.ReleaseForSchedule(); b.schedule = false; })},
         "", "", "", 0, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench b;
        for (const Step& step : row.steps) {
            step(b);
            // What is shown is what is held; one timer at most, only toward an end time.
            EXPECT_EQ(b.awake.On() || b.schedule, b.power.held);
            EXPECT_EQ(b.awake.Status().empty(), !b.awake.On());
            const bool timed = b.awake.On() && (b.awake.Request().kind == AwakeKind::For ||
                                                b.awake.Request().kind == AwakeKind::Until);
            EXPECT_EQ(b.timerPlatform.running.size(), timed ? 1U : 0U);
        }
        EXPECT_EQ(b.awake.Status(), row.status);
        EXPECT_EQ(b.awake.TipText(), row.tip);
        EXPECT_EQ(b.power.reason, row.heldReason);
        const auto& running = b.timerPlatform.running;
        EXPECT_EQ(running.empty() ? 0 : running.begin()->second, row.timer);
        EXPECT_EQ(b.notes, row.notes);
        if (!b.awake.On() || b.awake.Request().kind != AwakeKind::While) {
            EXPECT_TRUE(b.processes.waits.empty()) << "no process held for nothing";
        }
        b.awake.End();
        EXPECT_FALSE(b.power.held) << "exit releases";
    }
}

} // namespace
} // namespace halcyra::test
