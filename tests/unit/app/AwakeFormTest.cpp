// Keeping awake in the main window: the dialog's answer started, refusals told, the row, menus
// and tray tip following what is held, an armed schedule's own hold as chosen, and nothing held
// after exit.
#include <gtest/gtest.h>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

TEST(FormAwake, FollowsWhatIsHeldFromTheDialogOrTheScheduleToExit) {
    AwakeRequest program;
    program.kind = AwakeKind::While;
    program.program = "ffmpeg.exe";
    constexpr const char* kNoSchedule = nullptr;
    // clang-format off
    const struct {
        const char* name;
        std::optional<AwakeRequest> asked; // the dialog's answer; none: Cancel
        bool refuse;                       // the system refuses the hold
        const char* keeps;                 // a schedule armed, ScheduleKeepsAwake stored ("": none)
        std::string shown;                 // the last status the window was given; "-": none
        std::string tip;
        bool told;                         // a refusal in a box
        bool held;
    } rows[] = {
        {"Cancel",      std::nullopt,   false, kNoSchedule, "-", "Halcyra", false, false},
        {"until off",   AwakeRequest{}, false, kNoSchedule, "Kept awake until turned off", "Halcyra - awake until turned off", false, true},
        {"refused",     AwakeRequest{}, true,  kNoSchedule, "", "Halcyra", true, false},
        {"not running", program,        false, kNoSchedule, "", "Halcyra", true, false},
        {"schedule",    std::nullopt,   false, "",  "-", "Halcyra - Shutdown", false, true},
        {"schedule, 1", std::nullopt,   false, "1", "-", "Halcyra - Shutdown", false, true},
        {"schedule, 0", std::nullopt,   false, "0", "-", "Halcyra - Shutdown", false, false},
    };
    // clang-format on
    for (const auto& row : rows) {
        FormBench bench;
        FakePowerRequest& power = bench.awakePower;
        power.refuse = row.refuse;
        bench.awakeAnswer = row.asked;
        if (row.keeps && *row.keeps) {
            bench.settings.values["ScheduleKeepsAwake"] = row.keeps;
        }
        bench.Start();
        bench.form.Awake().OpenDialog();
        if (row.keeps) {
            ASSERT_EQ(bench.form.Schedule().Arm({MenuEntry::Shutdown, ScheduleKind::In, 90}, false),
                      ArmResult::Armed);
            EXPECT_FALSE(bench.form.Awake().On()) << row.name << ": the user's own hold stays off";
        }
        EXPECT_EQ(bench.awakeShown, row.shown) << row.name;
        EXPECT_EQ(bench.form.TrayTip().rfind(row.tip, 0), 0U) << row.name << bench.form.TrayTip();
        EXPECT_EQ(!Only(bench.log, "Tell(").empty(), row.told) << row.name;
        EXPECT_EQ(power.held, row.held) << row.name;
        if (row.keeps) {
            bench.form.Schedule().Cancel();
            EXPECT_FALSE(power.held) << row.name << ": let go with the schedule";
        }
        bench.form.Form_Unload();
        EXPECT_FALSE(power.held) << row.name << ": never outlives the program";
    }
}

} // namespace
} // namespace halcyra::test
