// Stored values the program never writes itself, in every settings key and in the Run entry,
// read through the registry-backed settings store as the program reads them: start-up, the
// hotkeys and the Options dialog carry on with a clear outcome.
#include <gtest/gtest.h>

#include "support/FormFakes.h"
#include "settings/RegistrySettingsStore.h"
#include "settings/SettingsKeys.h"
#include "settings/frmOptions.h"
#include "support/SettingsFakes.h"

namespace halcyra::test {
namespace {

using namespace std::string_literals;

const std::string kSettingsKey = "Software\\Halcyra\\Settings";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The main window and the Options dialog over one fake registry, through the real store.
struct RegistryBench {
    // The main window is ours and has its own procedure before anything is attached.
    RegistryBench() { subclassPlatform.AddWindow(kMainWindow, kOriginalProc); }

    Log log;
    FakeRegistryApi registry{log};
    RegistrySettingsStore settings{registry};
    FakeView view{log};
    FakeWindowSystem windows{log};
    FakePrompt prompt{log};
    FakePower power{log};
    FakeProgram program;
    FakeDialogs dialogs{log};
    FakeNotify notify{log};
    FakeHotkeyApi hotkeyApi{log};
    FakeSubclassPlatform subclassPlatform{log};
    modHotkey hotkeys{hotkeyApi, settings};
    MSubclass subclass{subclassPlatform};
    test::FakeClock clock;
    test::FakeTimerPlatform timerPlatform;
    MTimer timers{timerPlatform};
    FakeScheduleView scheduleView{log};
    FakeProcessPort processes;
    ScheduleController schedule{ScheduleServices{clock, clock, timers, scheduleView, processes},
                                prompt, windows, settings};
    FakePowerRequest awakePower;
    AwakeController awake{AwakeServices{clock, timers, awakePower, processes}, prompt, {}};
    HalcyraForm form{HalcyraForm::Services{view, windows, prompt, power, program, dialogs, settings,
                                           registry, notify, hotkeys, subclass},
                     schedule, awake};
    test::FakeOptionsView optionsView{log};
    test::FakeKeyboardLayout layout;
    frmOptions options{optionsView, prompt, settings, hotkeys, layout};
};

TEST(HostileSettings, EveryKeyHoldingTheSameValueGivesAClearOutcome) {
    const struct {
        const char* name;
        std::uint32_t type;
        std::string stored;
        bool confirmOn;
        std::size_t hotkeys; // how many of the seven letter keys make a hotkey
        int position;        // what every row of the Options dialog shows
        bool runPresent;
    } rows[] = {
        {"empty", reg::kTypeSz, "\0"s, false, 0, 0, true},
        {"no bytes at all", reg::kTypeSz, ""s, false, 0, 0, true},
        {"one", reg::kTypeSz, "1\0"s, true, 7, 1, true},
        {"one without terminator", reg::kTypeSz, "1"s, true, 7, 1, true},
        {"embedded NUL", reg::kTypeSz, "1\0garbage\0"s, true, 7, 1, true},
        {"blanks around", reg::kTypeSz, " 1 \0"s, true, 0, 0, true},
        {"long text", reg::kTypeSz, std::string(100000, 'A') + '\0', false, 0, 0, true},
        {"long number", reg::kTypeSz, std::string(100000, '1') + '\0', false, 0, 0, true},
        {"non-numeric", reg::kTypeSz, "abc\0"s, false, 0, 0, true},
        {"one past the list", reg::kTypeSz, "27\0"s, false, 0, 0, true},
        {"negative", reg::kTypeSz, "-1\0"s, false, 0, 0, true},
        {"beyond double", reg::kTypeSz, "1e400\0"s, false, 0, 0, true},
        {"beyond 64 bits", reg::kTypeSz, "99999999999999999999\0"s, false, 0, 0, true},
        {"the presence marker", reg::kTypeSz, "Z\0"s, false, 7, 0, false},
        {"number", reg::kTypeDword, "\x01\0\0\0"s, true, 0, 0, true},
        {"short number", reg::kTypeDword, "\x01"s, true, 0, 0, true},
        {"binary", reg::kTypeBinary, "1\0"s, true, 0, 0, false},
        {"multi-string", reg::kTypeMultiSz, "1\0\0"s, true, 0, 0, false},
        {"expandable", reg::kTypeExpandSz, "1\0"s, true, 0, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RegistryBench b;
        auto& values = b.registry.keys[kSettingsKey];
        values[std::string(settings::kConfirm)] = {row.type, row.stored};
        for (const auto& pair : settings::kHotkeyPairs) {
            values[std::string(pair.letterKey)] = {row.type, row.stored};
            values[std::string(pair.indexKey)] = {row.type, row.stored};
        }
        b.registry.keys[kRunKey]["Halcyra"] = {row.type, row.stored};

        ASSERT_TRUE(b.form.Form_Load());
        EXPECT_TRUE(b.view.visible);
        EXPECT_EQ(AsksFirst(b), row.confirmOn);
        EXPECT_EQ(b.view.checkRequest, row.confirmOn ? 1 : 0);
        EXPECT_EQ(Only(b.log, "register ").size(), row.hotkeys);
        EXPECT_EQ(b.view.check1, row.runPresent ? 1 : 0);
        const auto& run = b.registry.keys[kRunKey]["Halcyra"];
        if (row.runPresent) {
            EXPECT_EQ(run.type, reg::kTypeSz);
            EXPECT_EQ(run.bytes, "C:\\Tools\\Halcyra.exe /start\0"s);
        } else {
            EXPECT_EQ(run.bytes, row.stored) << "left as it was";
        }

        b.options.Form_Load();
        for (const int position : b.optionsView.positions) {
            EXPECT_EQ(position, row.position);
        }
        b.form.Form_Unload();
        EXPECT_EQ(b.registry.OpenHandles(), 0u) << "every key opened was closed";
    }
}

} // namespace
} // namespace halcyra::test
