// The main window's schedule: the dialog, the one timer, the tip, the questions, and the
// action run through the menu's own handler at zero.
#include <gtest/gtest.h>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

constexpr std::int64_t kMin = 60'000;

struct ScheduleBench : FormBench {
    ScheduleBench() {
        clock.SetLocal({2026, 3, 28, 22, 0});
        Start();
    }
    ScheduleController& control() { return form.Schedule(); }
    // Lets the one timer run for ms, tick after tick, as the message loop would.
    void Wait(std::int64_t ms) {
        while (!timerPlatform.running.empty()) {
            const auto [id, interval] = *timerPlatform.running.begin();
            if (interval > ms) {
                break;
            }
            ms -= interval;
            clock.Advance(interval);
            timers.TimerProc(id);
        }
        clock.Advance(ms);
    }
    std::vector<std::uint32_t> Intervals() const {
        std::vector<std::uint32_t> out;
        for (const auto& [id, ms] : timerPlatform.running) {
            out.push_back(ms);
        }
        return out;
    }
};

const ScheduleRequest kInOne{MenuEntry::Shutdown, ScheduleKind::In, 1, 0, 0};
const ScheduleRequest kInHour{MenuEntry::Monitor, ScheduleKind::In, 60, 0, 0};

TEST(ScheduleControl, DialogArmsWarnsAndRunsWithoutTheQuestion) {
    ScheduleBench b;
    b.scheduleView.answer = ScheduleChoice{MenuEntry::Shutdown, ScheduleKind::In, 1, 23, 30, 30};
    b.control().OpenDialog();
    EXPECT_EQ(b.settings.values["ScheduleInMinutes"], "1");
    EXPECT_EQ(b.settings.values["ScheduleAt"], "23:30");
    EXPECT_EQ(b.scheduleView.previewed, "in 1 minute");
    EXPECT_EQ(b.form.SysIcon()->TipText(), "Halcyra - Shutdown at 22:01");
    EXPECT_EQ(Only(b.log, "schedule."),
              (Log{"schedule.Dialog(0x1234)", "schedule.ShowWarning(Shutdown in 1:00)",
                   "schedule.State(Shutdown at 22:01 | Ca&ncel scheduled Shutdown (22:01))"}));
    EXPECT_EQ(b.Intervals(), (std::vector<std::uint32_t>{1000})); // seconds only while warning
    b.log.clear();
    b.Wait(kMin);
    EXPECT_EQ(b.scheduleView.warningText, "Shutdown in 0:01");
    EXPECT_EQ(Boxes(b.log), Log{}); // confirmation is on: arming and the warning asked already
    EXPECT_EQ(Only(b.log, "power.ExitWindowsEx"), Log{"power.ExitWindowsEx(8, 0)"});
    EXPECT_TRUE(b.timerPlatform.running.empty());
    EXPECT_EQ(b.form.SysIcon()->TipText(), product::kNameAndVersion);
}

TEST(ScheduleControl, RefusedAtZeroIsReportedAndEnds) {
    ScheduleBench b;
    b.power.failing["ExitWindowsEx"] = 5;
    b.form.Schedule().Arm(kInOne, true);
    b.Wait(kMin);
    EXPECT_EQ(Boxes(b.log).size(), 1U);
    EXPECT_EQ(b.form.Schedule().Status(), "");
    EXPECT_TRUE(b.timerPlatform.running.empty());
}

TEST(ScheduleControl, AWarningThatCannotBeShownEndsTheScheduleAndSaysSo) {
    ScheduleBench b;
    b.scheduleView.warningFails = true;
    b.form.Schedule().Arm(kInHour, true);
    b.Wait(60 * kMin);
    EXPECT_EQ(Only(b.log, "SendSystemCommand"), Log{}); // never run unseen
    EXPECT_EQ(Boxes(b.log),
              Log{"Tell(0x1234, The warning before Turn off Monitor at 23:00 could not be "
                  "shown, so the scheduled action was cancelled., Halcyra, Exclamation)"});
    EXPECT_EQ(Only(b.log, "DebugOutput"),
              Log{"DebugOutput(Halcyra: no warning window; the schedule Turn off Monitor at 23:00 "
                  "ended)"});
    EXPECT_EQ(b.form.Schedule().Status(), "");
    EXPECT_TRUE(b.timerPlatform.running.empty());
}

TEST(ScheduleControl, IdleWarningTheUserCameBackToStaysWhileInUseThenGoes) {
    ScheduleBench b;
    b.clock.Input();
    b.form.Schedule().Arm({MenuEntry::Standby, ScheduleKind::Idle, 5, 0, 0}, true);
    b.Wait(4 * kMin + 10'000);
    b.clock.Input();
    b.log.clear();
    b.Wait(1000);
    EXPECT_EQ(b.scheduleView.warningText, "Standby now waits for 5 minutes without input.");
    b.scheduleView.inUse = true; // the pointer reaches it
    b.Wait(kMin / 2);
    EXPECT_EQ(Only(b.log, "schedule.HideWarning"), Log{});
    b.scheduleView.inUse = false;
    b.Wait(schedule::kLingerMs + 1000);
    EXPECT_EQ(Only(b.log, "schedule.HideWarning"), Log{"schedule.HideWarning"});
    EXPECT_EQ(Only(b.log, "power."), Log{});
    EXPECT_EQ(b.form.Schedule().Status(), "Standby after 5 minutes idle");
}

TEST(ScheduleControl, OneTimerToTheNextEventAndNoneWhenNothingIsArmed) {
    ScheduleBench b;
    EXPECT_TRUE(b.timerPlatform.log.empty());
    b.form.Schedule().Arm(kInHour, true);
    EXPECT_EQ(b.Intervals(), (std::vector<std::uint32_t>{55 * kMin}));
    b.Wait(55 * kMin);
    b.control().Postpone();
    EXPECT_EQ(b.Intervals(), (std::vector<std::uint32_t>{9 * kMin}));
    EXPECT_TRUE(b.form.Schedule().Cancel());
    EXPECT_FALSE(b.form.Schedule().Cancel());
    EXPECT_TRUE(b.timerPlatform.running.empty());
}

TEST(ScheduleControl, ReplaceAndExitAskFirst) {
    ScheduleBench b;
    b.form.Schedule().Arm(kInHour, true);
    b.prompt.answers = {Answer::No, Answer::No, Answer::Yes};
    EXPECT_EQ(b.form.Schedule().Arm(kInOne, true), ArmResult::Kept);
    EXPECT_EQ(b.form.Schedule().Status(), "Turn off Monitor at 23:00");
    EXPECT_EQ(b.form.Schedule().Arm(kInOne, false), ArmResult::Armed);
    EXPECT_EQ(b.form.Schedule().Arm({MenuEntry::Exit, ScheduleKind::In, 5, 0, 0}, false),
              ArmResult::Invalid);
    // The warning of the one minute is up: replaced, it goes.
    EXPECT_EQ(b.form.Schedule().Arm(kInHour, false), ArmResult::Armed);
    EXPECT_EQ(Only(b.log, "schedule.HideWarning"), Log{"schedule.HideWarning"});
    b.form.MenuClick(MenuEntry::Exit); // No: the schedule and the program stay
    EXPECT_EQ(Only(b.log, "view.Unload"), Log{});
    b.form.MenuClick(MenuEntry::Exit);
    EXPECT_EQ(Only(b.log, "view.Unload"), Log{"view.Unload"});
    EXPECT_EQ(b.form.Schedule().Status(), "");
    EXPECT_EQ(Boxes(b.log).size(), 3U);
}

TEST(ScheduleControl, LastChoiceSurvivesHostileValuesAndCancelChangesNothing) {
    ScheduleBench b;
    b.settings.values = {{"ScheduleAction", "Format C:"},  {"ScheduleWhen", "Later"},
                         {"ScheduleInMinutes", "1441"},    {"ScheduleAt", "25:00"},
                         {"ScheduleIdleMinutes", "12abc"}, {"ScheduleProgram", "a|b"}};
    b.control().OpenDialog();
    EXPECT_EQ(b.scheduleView.opened, ScheduleChoice{});
    b.settings.values = {{"ScheduleAction", "Force a Restart"},
                         {"ScheduleWhen", "At"},
                         {"ScheduleAt", "06:05"},
                         {"ScheduleKeepsAwake", "0"}};
    b.control().OpenDialog();
    EXPECT_EQ(b.scheduleView.opened,
              (ScheduleChoice{MenuEntry::RstrtNow, ScheduleKind::At, 60, 6, 5, 30, "", false}));
    b.settings.values = {{"ScheduleWhen", "Idle"},
                         {"ScheduleInMinutes", "1440"},
                         {"ScheduleAt", "23:59"},
                         {"ScheduleIdleMinutes", "1440"}}; // the limits, as stored
    b.control().OpenDialog();
    EXPECT_EQ(b.scheduleView.opened,
              (ScheduleChoice{MenuEntry::Shutdown, ScheduleKind::Idle, 1440, 23, 59, 1440}));
    EXPECT_EQ(Only(b.log, "save"), Log{});
    EXPECT_EQ(b.form.Schedule().Status(), "");
}

} // namespace
} // namespace halcyra::test
