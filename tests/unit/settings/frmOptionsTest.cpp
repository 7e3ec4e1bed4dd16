#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "settings/frmOptions.h"
#include "unit/settings/Fakes.h"

namespace halcyra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct SettingsOptions : ::testing::Test {
    Log log;
    FakeSettingsStore store{log};
    FakeHotkeyApi api{log};
    modHotkey hotkeys{api, store};
    FakeOptionsView view{log};
    frmOptions form{view, store, hotkeys};
    const std::string kWarning =
        "warning Halcyra Error: You have duplicate entries for your shortcut keys.  Please make "
        "sure each key is unique or set to 'none.'";
};

TEST_F(SettingsOptions, OpeningSelectsEachRowFromItsIndexKeyAndNoneForNonsense) {
    store.values = {{"HotKeyScreenSaverIndex", "26"},
                    {"HotKeyMonitorIndex", "27"},
                    {"HotKeyLogOffIndex", "-1"},
                    {"HotKeyShutdownIndex", "abc"},
                    {"HotKeyRestartIndex", "3x"},
                    {"HotKeyHibernateIndex", "99999999999"},
                    {"HotKeyStandby", "Q"}}; // letter key ignored: the index key decides
    form.Form_Load();
    EXPECT_THAT(view.positions, ElementsAre(26, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(log.front(), "get HotKeyScreenSaverIndex 0");
    EXPECT_EQ(log.back(), "get HotKeyStandbyIndex 0");
    EXPECT_EQ(frmOptions::Entry(0), "None");
    EXPECT_EQ(frmOptions::Entry(1), "A");
    EXPECT_EQ(frmOptions::Entry(26), "Z");
    EXPECT_THAT(frmOptions::Entry(27), IsEmpty());
}

TEST_F(SettingsOptions, DuplicateCheckWarnsOnceForAnyClashIncludingNoSelection) {
    struct Row {
        std::array<int, 7> positions;
        bool passes;
    } rows[] = {
        {{0, 0, 0, 0, 0, 0, 0}, true},    {{1, 2, 3, 4, 5, 6, 26}, true},
        {{0, 5, 0, 0, 5, 0, 0}, false},   {{1, 1, 2, 2, 0, 0, 0}, false},
        {{-1, 0, 0, 0, 0, 0, -1}, false}, {{-1, 0, 1, 0, 0, 0, 0}, true},
    };
    for (const Row& row : rows) {
        log.clear();
        view.positions = row.positions;
        EXPECT_EQ(form.DuplicateCheck(), row.passes);
        EXPECT_THAT(log, row.passes ? Log{} : Log{kWarning});
    }
}

TEST_F(SettingsOptions, ApplySavesLettersThenIndexesAndLeavesHotkeysAlone) {
    view.positions = {0, 1, 26, 0, 19, 0, 2};
    form.cmdApply_Click();
    EXPECT_THAT(log, ElementsAre("save HotKeyScreenSaver=None", "save HotKeyMonitor=A",
                                 "save HotKeyLogOff=Z", "save HotKeyShutdown=None",
                                 "save HotKeyRestart=S", "save HotKeyHibernate=None",
                                 "save HotKeyStandby=B", "save HotKeyScreenSaverIndex=0",
                                 "save HotKeyMonitorIndex=1", "save HotKeyLogOffIndex=26",
                                 "save HotKeyShutdownIndex=0", "save HotKeyRestartIndex=19",
                                 "save HotKeyHibernateIndex=0", "save HotKeyStandbyIndex=2"));
}

TEST_F(SettingsOptions, OkSavesThenLoadsTheHotkeysThenCloses) {
    view.positions = {0, 0, 0, 19, 0, 0, 0};
    form.cmdOK_Click();
    ASSERT_EQ(log.size(), 14u + 7u + 1u + 1u);
    EXPECT_EQ(log[13], "save HotKeyStandbyIndex=0");
    EXPECT_EQ(log[17], "get HotKeyShutdown None");
    EXPECT_EQ(log[21], "register 0 1 3 83");
    EXPECT_EQ(log[22], "close");
    EXPECT_EQ(hotkeys.Slot(1), "Shutdown");
}

TEST_F(SettingsOptions, AClashOrCancelSavesNothing) {
    view.positions = {3, 0, 0, 0, 0, 0, 3};
    form.cmdOK_Click();
    form.cmdApply_Click();
    EXPECT_THAT(log, ElementsAre(kWarning, kWarning)); // once per click, still open
    log.clear();
    view.positions = {0, 0, 0, 0, 0, 0, 0};
    form.cmdCancel_Click();
    form.Form_Close();
    EXPECT_THAT(log, ElementsAre("close", "close"));
}

} // namespace
} // namespace halcyra::test
