// Hotkeys another program holds: when the main window tells the user, and that it tells once.
#include <gtest/gtest.h>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

const std::string kReport =
    "Tell(0x1234, Another program already uses these shortcuts, so they do nothing:\n\n"
    "CTRL+ALT+M (Turn off Monitor)\nCTRL+ALT+S (Shutdown)\n\nYou can choose different letters in "
    "Options., Halcyra, Exclamation)";

void HoldSAndM(FormBench& b) {
    b.settings.values["HotKeyShutdown"] = "S";
    b.settings.values["HotKeyMonitor"] = "M";
    b.settings.values["HotKeyStandby"] = "B";
    b.hotkeyApi.heldElsewhere = {'S', 'M'};
}

TEST(RefusedHotkeys, AnOrdinaryStartReportsThemOnceOverTheShownWindow) {
    FormBench b;
    HoldSAndM(b);
    ASSERT_TRUE(b.form.Form_Load());
    const Log tail(b.log.end() - 2, b.log.end());
    EXPECT_EQ(tail, (Log{"view.SetVisible(true)", kReport}));
    EXPECT_EQ(b.hotkeys.Counter(), 3) << "refused ones still take their identifiers";
    EXPECT_EQ(b.hotkeys.Slot(2), "Shutdown");

    b.log.clear();
    b.form.mnu_Show_Click(); // hide
    b.form.mnu_Show_Click(); // show again
    EXPECT_TRUE(Boxes(b.log).empty());
}

TEST(RefusedHotkeys, AStartInTheTrayWaitsForTheFirstShowing) {
    const struct {
        const char* how;
        void (*show)(FormBench&);
    } ways[] = {
        {"double click", [](FormBench& b) { b.Tray(0x203); }},
        {"Show from the popup", [](FormBench& b) { b.form.mnu_Show_Click(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        FormBench b;
        HoldSAndM(b);
        b.Start("/start");
        b.Tray(0x201);              // a single click leaves it hidden
        b.form.mnu_Monitor_Click(); // actions while hidden say nothing either
        EXPECT_TRUE(Boxes(b.log).empty());

        b.log.clear();
        way.show(b);
        ASSERT_TRUE(b.view.visible);
        EXPECT_EQ(Boxes(b.log), Log{kReport});
        EXPECT_EQ(b.log.back(), kReport) << "after the window is up";

        b.log.clear();
        b.form.mnu_Show_Click();
        b.form.mnu_Show_Click();
        EXPECT_TRUE(Boxes(b.log).empty()) << "told once";
    }
}

TEST(RefusedHotkeys, ATrayStartWithoutATrayReportsThemWhenTheWindowComesUp) {
    FormBench b;
    HoldSAndM(b);
    b.notify.addFails = true;
    b.Start("/start");
    EXPECT_TRUE(Boxes(b.log).empty());
    for (int tick = 0; tick < 5; ++tick) {
        b.form.TrayRetry_Timer();
    }
    ASSERT_TRUE(b.view.visible);
    EXPECT_EQ(Boxes(b.log), Log{kReport});
    EXPECT_EQ(b.log.back(), kReport) << "after the window is up";
}

TEST(RefusedHotkeys, ASecondCopyLeavesOutWhatTheFirstCopyHolds) {
    FormBench b;
    HoldSAndM(b);
    b.program.anotherCopy = true;
    b.program.heldByFirstCopy = {'S'};
    b.form.Form_Load();
    ASSERT_EQ(Only(b.log, "Tell(").size(), 1u);
    EXPECT_NE(b.log.back().find("this shortcut, so it does nothing:\n\nCTRL+ALT+M"),
              std::string::npos);
}

TEST(RefusedHotkeys, NothingIsSaidWhenEveryHotkeyRegistered) {
    for (const char* arguments : {"", "/start"}) {
        FormBench b;
        b.settings.values["HotKeyShutdown"] = "S";
        b.program.arguments = arguments;
        b.form.Form_Load();
        b.Tray(0x203);
        EXPECT_TRUE(Boxes(b.log).empty()) << arguments;
    }
}

} // namespace
} // namespace halcyra::test
