// A scheduled action in the real program: armed through the real dialog or a script, seen in the
// status row and the warning, postponed, cancelled, done at once, and left to run at zero. Only
// the monitor: an action that ends the session would end the whole bench.
#include <gtest/gtest.h>

#include "e2e/app/HalcyraDriver.h"
#include "support/WatchedJob.h"
#include "app/ControlIds.h"
#include "schedule/win32/ScheduleResources.h"

namespace halcyra::test {
namespace {

constexpr const char* kWarningTitle = "Halcyra - Scheduled action";

std::string Text(HWND window, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

class Scheduling : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredState();
        SetSetting("ScheduleAction", "Turn off Monitor");
        SetSetting("ScheduleInMinutes", "1");
        hwnd_ = halcyra_.WaitReady();
        ASSERT_NE(hwnd_, nullptr);
    }
    void TearDown() override { ClearStoredState(); }

    // "Sch&edule...", OK on the last choice (answering Yes when one is armed already).
    HWND Arm(bool replacing = false) {
        ::PostMessageA(hwnd_, WM_COMMAND, ID_MNU_SCHEDULE, 0);
        HWND dialog = halcyra_.DialogTitled("Schedule");
        EXPECT_EQ(Text(dialog, IDC_SCH_WHEN), "Turn off Monitor in 1 minute");
        Screenshot("schedule-dialog");
        ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (replacing) {
            HWND question = halcyra_.DialogTitled("Halcyra");
            EXPECT_NE(MessageBoxText(question).find("Replace it"), std::string::npos);
            ::PostMessageA(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
        }
        return halcyra_.DialogTitled(kWarningTitle);
    }
    bool StatusShown() { return ::IsWindowVisible(::GetDlgItem(hwnd_, ID_SCHEDULESTATUS)) != 0; }
    bool Ended(HWND warning) {
        return WaitUntil([&] { return !::IsWindowVisible(warning) && !StatusShown(); });
    }

    HalcyraProcess halcyra_;
    HWND hwnd_ = nullptr;
};

TEST_F(Scheduling, ArmedThroughTheDialogWarnsWithoutTheFocusAndEachButtonWorks) {
    HWND warning = Arm();
    ASSERT_NE(warning, nullptr);
    EXPECT_NE(::GetForegroundWindow(), warning); // a user typing elsewhere keeps typing there
    EXPECT_EQ(Text(warning, IDC_WARN_TEXT).rfind("Turn off Monitor in ", 0), 0U)
        << Text(warning, IDC_WARN_TEXT);
    EXPECT_TRUE(StatusShown());
    const std::string status = Text(hwnd_, ID_SCHEDULESTATUS);
    EXPECT_EQ(status.rfind("Turn off Monitor at ", 0), 0U) << status;
    Screenshot("schedule-armed");

    // Waking and a clock change with most of the minute left keep the countdown going.
    EXPECT_EQ(::SendMessageA(hwnd_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    ::SendMessageA(hwnd_, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(warning));

    ::PostMessageA(::GetDlgItem(warning, IDC_WARN_POSTPONE), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(warning); }));
    EXPECT_TRUE(StatusShown());

    warning = Arm(true);
    ::PostMessageA(::GetDlgItem(warning, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Ended(warning));

    warning = Arm();
    ::PostMessageA(::GetDlgItem(warning, IDC_WARN_NOW), BM_CLICK, 0, 0);
    EXPECT_TRUE(Ended(warning));
    EXPECT_TRUE(halcyra_.Running());
}

// Keyboard alone: the menu by its access keys, the action by its first letter, "In" by its
// access key, the minutes typed, Enter for OK.
TEST_F(Scheduling, ArmedThroughTheDialogWithTheKeyboardAlone) {
    SetSetting("ScheduleAction", "Screen Saver");
    SetSetting("ScheduleWhen", "At");
    ::SetForegroundWindow(hwnd_);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == hwnd_; }));
    ASSERT_TRUE(PressKeys("alt+a e"));
    HWND dialog = halcyra_.DialogTitled("Schedule");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog; }));
    ASSERT_TRUE(PressKeys("t alt+i Tab BackSpace BackSpace BackSpace BackSpace 2"));
    EXPECT_TRUE(WaitUntil([&] {
        return Text(dialog, IDC_SCH_WHEN) == "Turn off Monitor in 2 minutes";
    })) << Text(dialog, IDC_SCH_WHEN);
    ASSERT_TRUE(PressKeys("Return"));
    EXPECT_TRUE(WaitUntil([&] { return StatusShown() && !::IsWindow(dialog); }));
    EXPECT_EQ(Text(hwnd_, ID_SCHEDULESTATUS).rfind("Turn off Monitor at ", 0), 0U)
        << Text(hwnd_, ID_SCHEDULESTATUS);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "ScheduleWhen"), "In");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "ScheduleInMinutes"), "2");
    ::PostMessageA(hwnd_, WM_COMMAND, ID_MNU_CANCELSCHEDULE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !StatusShown(); }));
}

// A stand-in job started here, Halcyra armed on its process id from a script: the warning
// appears within seconds of its end. A program that does not run is refused with 1.
TEST_F(Scheduling, ArmedFromAScriptOnAProgramItWarnsWhenItEnds) {
    const WatchedJob job(HALCYRA_WATCHED_PROGRAM);
    ASSERT_TRUE(job.Started());

    // Quiet: this one has no console to print the reason on, and no box may wait.
    HalcyraProcess refused("/action monitoroff /after NoSuchJob.exe /quiet");
    ASSERT_TRUE(refused.WaitForExit(20000));
    EXPECT_EQ(refused.ExitCode(), 1U);
    HalcyraProcess armed("/action monitoroff /after " + std::to_string(job.Id()));
    ASSERT_TRUE(armed.WaitForExit(20000));
    EXPECT_EQ(armed.ExitCode(), 0U);
    ASSERT_TRUE(WaitUntil([&] { return StatusShown(); }));
    EXPECT_EQ(Text(hwnd_, ID_SCHEDULESTATUS), "Turn off Monitor when HalcyraWatched.exe ends");
    const auto early = WindowsOf(halcyra_.Pid(), "#32770", kWarningTitle);
    EXPECT_TRUE(early.empty() || !::IsWindowVisible(early.front())) << "no warning before its end";

    job.End();
    HWND warning = halcyra_.DialogTitled(kWarningTitle, 30000);
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(Text(warning, IDC_WARN_TEXT).rfind("Turn off Monitor in ", 0), 0U)
        << Text(warning, IDC_WARN_TEXT);
    ::PostMessageA(::GetDlgItem(warning, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Ended(warning));
}

TEST_F(Scheduling, WithNoAnswerTheActionRunsAtZero) {
    HWND warning = Arm();
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(warning) && !StatusShown(); }, 100000));
    EXPECT_TRUE(halcyra_.Running());
}

} // namespace
} // namespace halcyra::test
