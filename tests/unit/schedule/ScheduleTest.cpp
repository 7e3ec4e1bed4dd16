// The schedule's rules against one clock: arming, warnings, sleep, clock changes, idle and a
// program's end.
#include <gtest/gtest.h>

#include "schedule/Schedule.h"
#include "support/FakeClock.h"
#include "support/FakeProcessPort.h"

namespace halcyra::test {
namespace {

constexpr std::int64_t kMin = 60'000;

// Refused: arming fails with events as its reason. Start and End: the process arg starts (as
// ffmpeg.exe) or ends.
// clang-format off
enum class Op {
    Arm, Refused, Run, Sleep, Resume, ClockMoved, Input, Postpone, Dismiss, InUse, Cancel, Start, End
};
// The processes every row starts with; 40 cannot be opened.
const std::vector<ProcessEntry> kRunning{
    {11, "ffmpeg.exe"}, {12, "ffmpeg.exe"}, {13, "ffmpeg.exe"}, {30, "render.exe"}, {40, "locked.exe"}};
// clang-format on

struct Step {
    Op op;
    std::int64_t arg = 0;
    const char* events = ""; // what the window was asked to do, with the seconds then left
};

struct Row {
    const char* name;
    LocalTime start;
    ScheduleRequest request;
    std::vector<Step> steps;
    const char* status; // at the end
    bool dst = false; // Europe's spring change on the 29th of March, autumn on the 25th of October
};

// Advances the clock as the one timer would: straight to the next event, never tick by tick.
std::string Note(Schedule& s, ScheduleEvent e) {
    if (e == ScheduleEvent::None) {
        return {};
    }
    constexpr const char* kNames[] = {"", "show", "hide", "fire", "wait"}; // ScheduleEvent's order
    std::string text = kNames[static_cast<int>(e)];
    if (e == ScheduleEvent::ShowWarning) {
        text += "(" + std::to_string(s.SecondsLeft()) + ")";
    }
    return text + " ";
}

std::string RunFor(Schedule& s, FakeClock& clock, std::int64_t ms) {
    std::string out;
    for (std::int64_t spent = 0;;) {
        const std::int64_t delay = s.NextDelayMs();
        if (delay < 0 || spent + delay > ms) {
            clock.Advance(ms - spent);
            return out;
        }
        clock.Advance(delay);
        spent += delay;
        out += Note(s, s.Update());
    }
}

ScheduleRequest In(int minutes, MenuEntry a = MenuEntry::Shutdown) {
    return {a, ScheduleKind::In, minutes, 0, 0};
}
ScheduleRequest At(int h, int m) {
    return {MenuEntry::Shutdown, ScheduleKind::At, 0, h, m};
}
ScheduleRequest Idle(int minutes) {
    return {MenuEntry::Standby, ScheduleKind::Idle, minutes, 0, 0};
}
ScheduleRequest Ends(const char* program) {
    return {MenuEntry::Shutdown, ScheduleKind::Ends, 0, 0, 0, program};
}

const LocalTime k2200{2026, 3, 28, 22, 0};

// clang-format off
const Row kRows[] = {
    {"in one minute warns at once and runs at zero", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"a long one warns at five minutes and at one", k2200, In(30),
     {{Op::Arm}, {Op::Run, 25 * kMin, "show(300) "}, {Op::Run, 4 * kMin, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"ten minutes is not long", k2200, In(10),
     {{Op::Arm}, {Op::Run, 9 * kMin, "show(60) "}}, "Shutdown at 22:10"},
    {"a dismissed early warning comes back at the last minute", k2200, In(30),
     {{Op::Arm}, {Op::Run, 25 * kMin, "show(300) "}, {Op::Dismiss}, {Op::Run, 4 * kMin, "show(60) "}}, "Shutdown at 22:30"},
    {"postpone: ten minutes from now", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Run, 30'000}, {Op::Postpone}, {Op::Run, 9 * kMin, "show(60) "}},
     "Shutdown at 22:10"},
    {"cancel: no timer, nothing fires", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Cancel}, {Op::Run, 10 * kMin}}, ""},
    {"slept through the zero: a fresh minute on wake", k2200, In(5),
     {{Op::Arm}, {Op::Sleep, 120 * kMin}, {Op::Resume, 0, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"a tick before the wake message warns too", k2200, In(5),
     {{Op::Arm}, {Op::Sleep, 120 * kMin}, {Op::Run, 1, "show(60) "}}, "Shutdown at 00:01"},
    {"woke just after the zero with the last minute up: a fresh one", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Run, 50'000}, {Op::Sleep, 15'000}, {Op::Resume, 0, "show(60) "}},
     "Shutdown at 22:02"},
    {"a tick just after such a zero, before the wake message, warns too", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Run, 50'000}, {Op::Sleep, 15'000}, {Op::Run, 1000, "show(60) "}},
     "Shutdown at 22:02"},
    {"a zero reached 20 s late, the warning closed: a fresh minute", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Dismiss}, {Op::Sleep, 80'000}, {Op::Run, 1, "show(60) "}},
     "Shutdown at 22:02"},
    {"slept inside the last minute: warned afresh", k2200, In(1),
     {{Op::Arm, 0, "show(60) "}, {Op::Sleep, 5 * kMin}, {Op::Run, 1000, "show(60) "}}, "Shutdown at 22:06"},
    {"woke with seconds left: a full minute", k2200, In(20),
     {{Op::Arm}, {Op::Sleep, 20 * kMin - 20'000}, {Op::Resume, 0, "show(60) "}}, "Shutdown at 22:20"},
    {"at a clock time later today", k2200, At(23, 30),
     {{Op::Arm}, {Op::Run, 85 * kMin, "show(300) "}, {Op::Run, 5 * kMin, "show(60) fire "}}, ""},
    {"between two seconds the time shown stays on its minute", k2200, At(23, 30),
     {{Op::Arm}, {Op::Run, 1500}}, "Shutdown at 23:30"},
    {"at a clock time past: tomorrow, across midnight", {2026, 3, 26, 23, 50}, At(0, 10),
     {{Op::Arm}, {Op::Run, 19 * kMin, "show(300) show(60) "}}, "Shutdown at 00:10"},
    {"a time the spring change skips fires at the first valid minute", k2200, At(2, 30),
     {{Op::Arm}, {Op::Run, 4 * 60 * kMin - kMin, "show(300) show(60) "}}, "Shutdown at 03:00", true},
    {"a time the autumn change shows twice fires the first time", {2026, 10, 24, 22, 0}, At(2, 30),
     {{Op::Arm}, {Op::Run, 270 * kMin - kMin, "show(300) show(60) "}}, "Shutdown at 02:30", true},
    {"clock set forward past the deadline: a fresh minute", k2200, At(23, 30),
     {{Op::Arm}, {Op::ClockMoved, 2 * 3600, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"clock set back in the last minute: the warning goes", {2026, 3, 28, 23, 29}, At(23, 30),
     {{Op::Arm, 0, "show(60) "}, {Op::ClockMoved, -3600, "hide "}}, "Shutdown at 23:30"},
    {"a span ignores the wall clock", k2200, In(30),
     {{Op::Arm}, {Op::ClockMoved, 3600}, {Op::Run, 29 * kMin, "show(300) show(60) "}}, "Shutdown at 23:30"},
    {"idle: warned after the span without input", k2200, Idle(5),
     {{Op::Arm}, {Op::Run, 4 * kMin, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"idle: input starts again; the warning says so and goes a while later", k2200, Idle(5),
     {{Op::Arm}, {Op::Run, 4 * kMin + 5000, "show(60) "}, {Op::Input}, {Op::Run, 1000, "wait "},
      {Op::Input}, {Op::Run, 4000}, {Op::Run, 1000, "hide "},
      {Op::Run, 3 * kMin + 54'000}, {Op::Run, 1000, "show(60) "}}, "Standby after 5 minutes idle"},
    {"idle: the waiting warning stays while in use, and a while more", k2200, Idle(5),
     {{Op::Arm}, {Op::Run, 4 * kMin, "show(60) "}, {Op::Run, 1000}, {Op::Input}, {Op::Run, 1000, "wait "},
      {Op::Run, 4000}, {Op::InUse}, {Op::Run, 4000}, {Op::Run, 1000, "hide "}},
     "Standby after 5 minutes idle"},
    {"idle: closed, then input: the next span warns again before it runs", k2200, Idle(5),
     {{Op::Arm}, {Op::Run, 4 * kMin, "show(60) "}, {Op::Dismiss}, {Op::Run, 1000}, {Op::Input},
      {Op::Run, 5 * kMin, "show(60) fire "}}, ""},
    {"idle: closed early warning, then input: both warnings again", k2200, Idle(15),
     {{Op::Arm}, {Op::Run, 10 * kMin, "show(300) "}, {Op::Dismiss}, {Op::Run, 1000}, {Op::Input},
      {Op::Run, 15 * kMin, "show(300) show(60) fire "}}, ""},
    {"idle: asleep does not count", k2200, Idle(5),
     {{Op::Arm}, {Op::Sleep, 60 * kMin}, {Op::Resume}, {Op::Run, 3 * kMin}, {Op::Run, kMin, "show(60) "}},
     "Standby after 5 minutes idle"},
    {"idle: input before the warning moves it", k2200, Idle(5),
     {{Op::Arm}, {Op::Run, 3 * kMin}, {Op::Input}, {Op::Run, 3 * kMin}, {Op::Run, kMin, "show(60) "}},
     "Standby after 5 minutes idle"},
    {"replace: the second one counts", k2200, In(5),
     {{Op::Arm}, {Op::Arm, 1, "show(60) "}, {Op::Run, kMin, "fire "}}, ""},
    {"a program's end by id: no timer until it ends, then a full minute; postpone as ever", k2200, Ends("30"),
     {{Op::Arm}, {Op::Run, 90 * kMin}, {Op::End, 30, "show(60) "}, {Op::Postpone}, {Op::Run, 10 * kMin, "show(60) fire "}}, ""},
    {"a program's end: each process ends, the last warns; one started since is not awaited", k2200, Ends(" FFMPEG "),
     {{Op::Arm}, {Op::Start, 14}, {Op::End, 11}, {Op::End, 12}, {Op::Run, 10 * kMin}, {Op::End, 13, "show(60) "}},
     "Shutdown at 22:11"},
    {"a program's end awaited, asleep too: the status names it as the system spells it", k2200, Ends("FFmpeg"),
     {{Op::Arm}, {Op::Sleep, 60 * kMin}, {Op::Resume}}, "Shutdown when ffmpeg.exe ends"},
    {"a program that ended before arming is refused by name", k2200, Ends("gone.exe"),
     {{Op::Refused, 0, "gone.exe is not running."}}, ""},
    {"a program that cannot be opened is refused by name, and what was armed stays", k2200, Ends("locked"),
     {{Op::Arm, 1, "show(60) "}, {Op::Refused, 0, "locked.exe cannot be watched: it belongs to another user or is protected."}},
     "Shutdown at 22:01"},
    {"a program that ended asleep warns on wake, never runs at once", k2200, Ends("render.exe"),
     {{Op::Arm}, {Op::Sleep, 120 * kMin}, {Op::End, 30, "show(60) "}, {Op::Resume}, {Op::Run, kMin, "fire "}}, ""},
    {"a program's end cancelled: its end does nothing", k2200, Ends("render.exe"),
     {{Op::Arm}, {Op::Cancel}, {Op::End, 30}, {Op::Run, 10 * kMin}}, ""},
    {"a program's end replaced: its end does nothing", k2200, Ends("render.exe"),
     {{Op::Arm}, {Op::Arm, 1, "show(60) "}, {Op::End, 30}, {Op::Run, kMin, "fire "}}, ""},
};
// clang-format on

TEST(Schedule, Rows) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        FakeClock clock;
        if (row.dst) {
            clock.offset = row.start.month == 3 ? 3600 : 7200;
            clock.changes = {{CivilSeconds({2026, 3, 29, 1, 0}), 7200},
                             {CivilSeconds({2026, 10, 25, 1, 0}), 3600}};
            if (row.start.month == 3) {
                clock.changes.pop_back();
            } else {
                clock.changes.erase(clock.changes.begin());
            }
        }
        clock.SetLocal(row.start);
        clock.Input();
        FakeProcessPort port;
        port.running = kRunning;
        port.refuse[40] = WaitRefusal::CannotOpen;
        Schedule s(clock, clock, port);
        std::string got;
        s.OnProgramEnded([&](ScheduleEvent e) { got += Note(s, e); });
        for (const Step& step : row.steps) {
            got.clear();
            std::string why;
            switch (step.op) {
            case Op::Arm:
                ASSERT_TRUE(s.Arm(step.arg == 1 ? In(1) : row.request));
                got = Note(s, s.Update());
                break;
            case Op::Refused:
                EXPECT_FALSE(s.Arm(row.request, &why));
                got = why;
                break;
            case Op::Start:
                port.running.push_back({static_cast<ProcessId>(step.arg), "ffmpeg.exe"});
                break;
            case Op::End:
                port.End(static_cast<ProcessId>(step.arg));
                break;
            case Op::Run:
                got = RunFor(s, clock, step.arg);
                break;
            case Op::Sleep:
                clock.Advance(step.arg);
                break;
            case Op::Resume:
                got = Note(s, s.Resumed());
                break;
            case Op::ClockMoved:
                clock.utc += step.arg;
                got = Note(s, s.TimeChanged());
                break;
            case Op::Input:
                clock.Input();
                break;
            case Op::Postpone:
                s.Postpone();
                break;
            case Op::Dismiss:
                s.DismissWarning();
                break;
            case Op::InUse:
                s.WarningInUse();
                break;
            case Op::Cancel:
                EXPECT_TRUE(s.Cancel());
                EXPECT_EQ(s.NextDelayMs(), -1);
                break;
            }
            EXPECT_EQ(got, step.events);
        }
        EXPECT_EQ(s.Status(), row.status);
        if (s.Request().kind != ScheduleKind::Ends || !s.Armed()) {
            EXPECT_TRUE(port.waits.empty()) << "every process let go";
        }
    }
}

TEST(Schedule, RefusesOutOfRangeAndShowsWhen) {
    FakeClock clock;
    clock.SetLocal(k2200);
    FakeProcessPort port;
    port.running = kRunning;
    Schedule s(clock, clock, port);
    for (const ScheduleRequest& bad : {In(0), In(1441), Idle(-1), At(24, 0), At(0, 60), At(-1, 0),
                                       In(5, MenuEntry::About), Ends(""), Ends("a|b")}) {
        EXPECT_FALSE(s.Arm(bad));
    }
    EXPECT_FALSE(s.Armed());
    EXPECT_EQ(s.Preview(At(23, 30)), "today 23:30");
    EXPECT_EQ(s.Preview(At(6, 0)), "tomorrow 06:00");
    EXPECT_EQ(s.Preview(At(22, 0)), "tomorrow 22:00");
    EXPECT_EQ(s.Preview(In(90)), "in 90 minutes");
    EXPECT_EQ(s.Preview(Ends("ffmpeg")), "when ffmpeg.exe ends (3 processes)");
    EXPECT_EQ(s.Preview(Ends("30")), "when render.exe ends (1 process)");
    EXPECT_EQ(s.Preview(Ends("gone.exe")), "when gone.exe ends (not running)");
    EXPECT_EQ(s.Preview(Ends("99")), "when process 99 ends (not running)");
    ASSERT_TRUE(s.Arm(At(23, 30)));
    EXPECT_EQ(s.CancelCaption(), "Ca&ncel scheduled Shutdown (23:30)");
    ASSERT_TRUE(s.Arm(Ends("ffmpeg.exe")));
    EXPECT_EQ(s.CancelCaption(), "Ca&ncel scheduled Shutdown (when ffmpeg.exe ends)");
    EXPECT_EQ(Schedule::Countdown(-5), "0:00");
    EXPECT_EQ(Schedule::Countdown(59), "0:59");
    EXPECT_EQ(Schedule::Countdown(3600), "1:00:00");
}

} // namespace
} // namespace halcyra::test
