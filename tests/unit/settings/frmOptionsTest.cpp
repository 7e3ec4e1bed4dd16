#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "settings/frmOptions.h"
#include "support/FakePrompt.h"
#include "support/SettingsFakes.h"

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
    FakePrompt prompt{log};
    FakeKeyboardLayout layout;
    frmOptions form{view, prompt, store, hotkeys, layout};
    const std::string kWarning =
        "Tell(0xF7, You have duplicate entries for your shortcut keys.  Please make sure each key "
        "is unique or set to 'none.', Halcyra Error, Exclamation)";
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

// Only what the dialog asked and told, without the settings it read and wrote.
Log Said(const Log& log) {
    Log out;
    for (const auto& line : log) {
        if (line.rfind("Ask(", 0) == 0 || line.rfind("Tell(", 0) == 0 || line == "close") {
            out.push_back(line);
        }
    }
    return out;
}

std::size_t Saves(const Log& log) {
    std::size_t n = 0;
    for (const auto& line : log) {
        n += line.rfind("save ", 0) == 0 ? 1 : 0;
    }
    return n;
}

TEST_F(SettingsOptions, NewLettersThatTypeACharacterWithAltGrAreNamedInOneQuestion) {
    layout.altGr = {{'S', "\xC5\x9B"}, {'E', "\xE2\x82\xAC"}, {'A', "\xC4\x85"}};
    const std::string question =
        "Ask(0xF7, On this keyboard CTRL+ALT is also AltGr, so these shortcuts would take "
        "characters you type:\n\nCTRL+ALT+S types \"\xC5\x9B\"\nCTRL+ALT+E types "
        "\"\xE2\x82\xAC\"\n\nKeep them anyway? Choose No to go back and pick other letters., "
        "Halcyra, Exclamation)";
    form.Form_Load();
    view.positions = {19, 0, 5, 0, 2, 0, 0}; // S, E and B

    prompt.otherwise = Answer::No; // go back: nothing saved, nothing loaded, the dialog stays
    log.clear();
    form.cmdOK_Click();
    form.cmdApply_Click();
    EXPECT_THAT(Said(log), ElementsAre(question, question));
    EXPECT_EQ(Saves(log), 0u);
    EXPECT_EQ(hotkeys.Counter(), 0);

    prompt.otherwise = Answer::Yes; // keep them: saved as chosen
    log.clear();
    form.cmdApply_Click();
    EXPECT_THAT(Said(log), ElementsAre(question));
    EXPECT_EQ(store.values["HotKeyScreenSaver"], "S");
    EXPECT_EQ(store.values["HotKeyLogOff"], "E");

    // Kept once, they are stored: OK does not ask about them again.
    log.clear();
    form.cmdOK_Click();
    EXPECT_THAT(Said(log), ElementsAre("close"));
    EXPECT_EQ(hotkeys.Counter(), 3);
}

TEST_F(SettingsOptions, LettersAlreadyStoredOrPlainOnThisLayoutAreNotAskedAbout) {
    layout.altGr = {{'Q', "@"}, {'E', "\xE2\x82\xAC"}};
    store.values = {{"HotKeyShutdownIndex", "17"}}; // Q, chosen before
    form.Form_Load();
    view.positions = {0, 0, 0, 17, 0, 0, 2}; // Q kept where it was, B new without AltGr
    log.clear();
    form.cmdOK_Click();
    EXPECT_THAT(Said(log), ElementsAre("close"));
    EXPECT_EQ(layout.asked, "B");

    // Moving a stored letter to another row does not make it new.
    form.Form_Load();
    view.positions = {17, 0, 0, 0, 0, 0, 0};
    log.clear();
    form.cmdApply_Click();
    EXPECT_THAT(Said(log), IsEmpty());
    EXPECT_EQ(store.values["HotKeyScreenSaver"], "Q");

    // One new letter: the question speaks of it alone.
    view.positions = {17, 5, 0, 0, 0, 0, 0};
    prompt.otherwise = Answer::No;
    log.clear();
    form.cmdApply_Click();
    EXPECT_THAT(Said(log),
                ElementsAre("Ask(0xF7, On this keyboard CTRL+ALT is also AltGr, so this "
                            "shortcut would take a character you type:\n\nCTRL+ALT+E types "
                            "\"\xE2\x82\xAC\"\n\nKeep it anyway? Choose No to go back and pick "
                            "another letter., Halcyra, Exclamation)"));
}

TEST_F(SettingsOptions, OkNamesEveryCombinationAnotherProgramHoldsThenCloses) {
    api.heldElsewhere = {'S', 'R'};
    view.positions = {0, 0, 0, 19, 18, 0, 2}; // Shutdown S, Restart R, Standby B
    form.cmdOK_Click();
    EXPECT_THAT(Said(log),
                ElementsAre("Tell(0xF7, Another program already uses these shortcuts, so they "
                            "do nothing:\n\nCTRL+ALT+S (Shutdown)\nCTRL+ALT+R (Restart)\n\nYou "
                            "can choose different letters in Options., Halcyra, Exclamation)",
                            "close"));
    EXPECT_EQ(store.values["HotKeyShutdown"], "S") << "saved as chosen all the same";
    EXPECT_EQ(hotkeys.Slot(3), "Standby");

    // Apply registers nothing, so it has nothing to tell; a free letter at OK, nothing either.
    log.clear();
    view.positions = {0, 0, 0, 0, 0, 0, 2};
    form.cmdApply_Click();
    form.cmdOK_Click();
    EXPECT_THAT(Said(log), ElementsAre("close"));
}

} // namespace
} // namespace halcyra::test
