// Keeping awake in the main window: the dialog's answer started, refusals told, the row, menus
// and tray tip following what is held, and nothing held after exit.
#include <gtest/gtest.h>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

TEST(FormAwake, FollowsWhatIsHeldFromTheDialogToExit) {
    AwakeRequest program;
    program.kind = AwakeKind::While;
    program.program = "ffmpeg.exe";
    // clang-format off
    const struct {
        const char* name;
        std::optional<AwakeRequest> asked; // the dialog's answer; none: Cancel
        bool refuse;                       // the system refuses the hold
        std::string shown;                 // the last status the window was given; "-": none
        std::string tip;
        bool told;                         // a refusal in a box
    } rows[] = {
        {"Cancel",     std::nullopt,  false, "-", "Halcyra", false},
        {"until off",  AwakeRequest{}, false, "Kept awake until turned off", "Halcyra - awake until turned off", false},
        {"refused",    AwakeRequest{}, true,  "", "Halcyra", true},
        {"not running", program,      false, "", "Halcyra", true},
    };
    // clang-format on
    for (const auto& row : rows) {
        FormBench bench;
        FakePowerRequest& power = bench.awakePower;
        power.refuse = row.refuse;
        bench.awakeAnswer = row.asked;
        bench.Start();
        bench.form.Awake().OpenDialog();
        EXPECT_EQ(bench.awakeShown, row.shown) << row.name;
        EXPECT_EQ(bench.form.TrayTip().rfind(row.tip, 0), 0U) << row.name << bench.form.TrayTip();
        EXPECT_EQ(!Only(bench.log, "Tell(").empty(), row.told) << row.name;
        EXPECT_EQ(power.held, row.shown.size() > 1) << row.name;
        bench.form.Form_Unload();
        EXPECT_FALSE(power.held) << row.name << ": never outlives the program";
    }
}

TEST(FormAwake, AnArmedScheduleHoldsTheComputerAwakeAsChosen) {
    for (const char* stored : {"", "1", "0"}) {
        FormBench bench;
        const FakePowerRequest& power = bench.awakePower;
        if (*stored) {
            bench.settings.values["ScheduleKeepsAwake"] = stored;
        }
        bench.Start();
        ASSERT_EQ(bench.form.Schedule().Arm({MenuEntry::Shutdown, ScheduleKind::In, 90}, false),
                  ArmResult::Armed);
        EXPECT_EQ(power.held, std::string(stored) != "0") << stored;
        EXPECT_FALSE(bench.form.Awake().On()) << "the user's own hold stays off";
        bench.form.Schedule().Cancel();
        EXPECT_FALSE(power.held) << stored;
    }
}

} // namespace
} // namespace halcyra::test
