// Start-up and exit of the main window: the whole order of calls, and the stored state it reads.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void PutRunEntry(FormBench& b, std::uint32_t type, const std::string& data) {
    b.registry.keys[kRunKey]["Halcyra"] = FakeRegistryApi::Value{type, data + '\0'};
}

TEST(Startup, FirstStartRunsEveryStepInOrder) {
    FormBench b;
    b.settings.values["HotKeyShutdown"] = "S";
    ASSERT_TRUE(b.form.Form_Load());
    // What must hold, not every call: the question's setting, the run entry, every hotkey
    // letter and the one registration, the taskbar's message, the subclassing, in this order,
    // and the window shown last.
    const Log order{
        "get Confirm 1",
        "save Confirm=1",
        "open 80000001 " + kRunKey + " 0 1",
        "get HotKeyScreenSaver None",
        "get HotKeyStandby None",
        "register 4660 1 3 83",
        "RegisterMessageName(TaskbarCreated)",
        "install " + std::to_string(FakeSubclassPlatform::kReplacement),
    };
    auto at = [&](const std::string& line) { return std::find(b.log.begin(), b.log.end(), line); };
    for (std::size_t i = 1; i < order.size(); ++i) {
        EXPECT_LT(at(order[i - 1]), at(order[i])) << order[i];
    }
    EXPECT_NE(at(order.back()), b.log.end());
    EXPECT_EQ(Only(b.log, "get HotKey").size(), settings::kHotkeyPairs.size());
    EXPECT_EQ(Only(b.log, "register ").size(), 1u);
    EXPECT_EQ(b.log.back(), "view.SetVisible(true)");
    EXPECT_TRUE(AsksFirst(b));
    EXPECT_EQ(b.view.checkRequest, 1);
    EXPECT_EQ(b.view.check1, 0);
    EXPECT_TRUE(b.view.showChecked);
    EXPECT_TRUE(Only(b.log, "tray.").empty()) << "no icon while the window is shown";
}

TEST(Startup, TheThreeMessagesAreAttachedInOrder) {
    FormBench b;
    b.form.Form_Load();
    const auto& p = b.subclassPlatform.Props(kMainWindow);
    EXPECT_EQ(p.at(MSubclass::WindowCountName(kMainWindow)), 3u);
    const auto client = reinterpret_cast<std::uintptr_t>(static_cast<ISubclass*>(&b.form));
    for (const std::uint32_t msg : {0x112u, FakeWindowSystem::kTaskbarCreated, 0x312u}) {
        EXPECT_EQ(p.at(MSubclass::MessageCountName(kMainWindow, msg)), 1u) << msg;
        EXPECT_EQ(p.at(MSubclass::ClientName(kMainWindow, msg, 1)), client) << msg;
    }
    EXPECT_EQ(Only(b.log, "RegisterMessageName"), Log{"RegisterMessageName(TaskbarCreated)"});
}

TEST(Startup, OnlyTheExactStartArgumentStartsInTheTray) {
    const struct {
        const char* arguments;
        bool hidden;
    } rows[] = {{"/start", true},   {"", false},         {"/START", false}, {"/start ", false},
                {" /start", false}, {"/start x", false}, {"/Start", false}, {"\"/start\"", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("arguments '") + row.arguments + "'");
        FormBench b;
        b.program.arguments = row.arguments;
        ASSERT_TRUE(b.form.Form_Load());
        EXPECT_EQ(b.view.visible, !row.hidden);
        EXPECT_EQ(b.view.showChecked, !row.hidden);
        EXPECT_EQ(b.form.SysIcon()->Visible(), row.hidden);
        if (row.hidden) {
            EXPECT_EQ(Only(b.log, "view.SetVisible"), Log{"view.SetVisible(false)"});
            EXPECT_EQ(Only(b.log, "tray."), Log{TrayLine("Add", 7)});
        }
    }
}

TEST(Startup, AShortcutsStartStateDecidesBetweenTrayAndWindow) {
    const struct {
        StartShow show;
        bool tray;
    } rows[] = {{StartShow::Normal, false},
                {StartShow::Minimized, true},
                {StartShow::Maximized, false},
                {StartShow::Hidden, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.show));
        FormBench b;
        b.view.startShow = row.show;
        ASSERT_TRUE(b.form.Form_Load());
        if (row.tray) {
            // Exactly as "/start" does it.
            EXPECT_EQ(Only(b.log, "view.Set"),
                      (Log{"view.SetCheckRequest(1)", "view.SetVisible(false)",
                           "view.SetShowChecked(false)"}));
            EXPECT_EQ(Only(b.log, "tray."), Log{TrayLine("Add", 7)});
        } else {
            EXPECT_EQ(Only(b.log, "view.SetVisible"), Log{"view.SetVisible(true)"});
            EXPECT_TRUE(Only(b.log, "tray.").empty());
        }
        EXPECT_NE(b.view.visible, b.form.SysIcon()->Visible());
        EXPECT_EQ(b.view.showChecked, b.view.visible);
    }
}

TEST(Startup, ATrayStartTheShellRefusesTriesAFewTimesThenShowsTheWindow) {
    for (const int acceptedAtTick : {0, 3}) { // 0: never
        SCOPED_TRACE("accepted at tick " + std::to_string(acceptedAtTick));
        FormBench b;
        b.notify.addFails = true;
        b.Start("/start");
        EXPECT_FALSE(b.view.visible);
        EXPECT_EQ(b.view.retryTimerMs, 2000u) << "timer-driven, start-up does not wait";
        for (int tick = 1; tick <= 5; ++tick) {
            b.notify.addFails = tick != acceptedAtTick;
            b.form.TrayRetry_Timer();
        }
        const Log adds = Only(b.log, "tray.Add");
        EXPECT_EQ(adds.size(), acceptedAtTick ? 3u : 5u);
        EXPECT_EQ(b.view.retryTimerMs, 0u);
        EXPECT_EQ(b.view.visible, acceptedAtTick == 0);
        EXPECT_EQ(b.form.SysIcon()->Visible(), acceptedAtTick != 0);
        EXPECT_EQ(b.view.showChecked, b.view.visible);
        if (acceptedAtTick == 0) {
            // An add that timed out may have put the icon there all the same.
            EXPECT_EQ(Only(b.log, "tray.Delete").size(), 1u);
        }
        b.log.clear();
        b.form.TrayRetry_Timer();
        EXPECT_TRUE(b.log.empty()) << "stopped";
    }
}

TEST(Startup, ATrayStartWaitsForAStartingShellAndNeverDeletesARealIcon) {
    for (const bool keptIcon : {true, false}) { // false: a taskbar whose area never comes
        FormBench b;
        b.notify.addTimesOut = keptIcon;
        b.notify.addFails = b.notify.taskbar = !keptIcon;
        b.Start("/start");
        std::uint32_t waited = 0;
        int ticks = 0;
        for (; b.view.retryTimerMs != 0 && ticks < 20; ++ticks, b.form.TrayRetry_Timer()) {
            waited += b.view.retryTimerMs;
        }
        EXPECT_EQ(ticks, keptIcon ? 1 : 10) << "the gaps grow to fill two minutes";
        EXPECT_EQ(waited, keptIcon ? 2000u : 120000u);
        EXPECT_EQ(b.view.visible, !keptIcon);
        EXPECT_EQ(b.notify.present, keptIcon) << "a real icon is never deleted";
    }
}

TEST(Startup, TheConfirmSettingDecidesTheFlagAndTheBox) {
    const struct {
        const char* stored; // nullptr: absent
        bool on;
    } rows[] = {{nullptr, true}, {"1", true},    {"0", false},   {"2", false}, {"-1", false},
                {"1.0", true},   {" 1 ", true},  {"abc", false}, {"", false},  {"1abc", false},
                {"0x1", false},  {"inf", false}, {"1e0", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored ? row.stored : "(absent)");
        FormBench b;
        if (row.stored) {
            b.settings.values["Confirm"] = row.stored;
        }
        b.form.Form_Load();
        EXPECT_EQ(AsksFirst(b), row.on);
        EXPECT_EQ(b.view.checkRequest, row.on ? 1 : 0);
    }
}

TEST(Startup, ASecondCopyAnsweredNoSetsUpNothing) {
    FormBench b;
    b.program.anotherCopy = true;
    b.prompt.answers = {Answer::No};
    PutRunEntry(b, reg::kTypeSz, "D:\\Old\\Halcyra.exe /start");
    b.settings.values["HotKeyShutdown"] = "S";
    EXPECT_FALSE(b.form.Form_Load());
    EXPECT_EQ(b.log, (Log{"Ask(0x1234, A copy of Halcyra is already running, if it is "
                          "not on your taskbar, check the icon tray by the clock.  Would you "
                          "like to start another instance?, Halcyra, Information)"}));
    EXPECT_EQ(b.form.SysIcon(), nullptr);
    EXPECT_EQ(b.registry.keys[kRunKey]["Halcyra"].bytes,
              "D:\\Old\\Halcyra.exe /start" + std::string(1, '\0'));
    b.log.clear();
    b.form.Form_Unload();
    EXPECT_TRUE(b.log.empty()) << "no teardown: nothing was set up";
}

TEST(Startup, ASecondCopyClosedWhileAskingEndsQuietly) {
    FormBench b;
    b.program.anotherCopy = true;
    b.prompt.answers = {Answer::None}; // the box went with its window
    b.view.closed = true;
    EXPECT_FALSE(b.form.Form_Load());
    EXPECT_EQ(b.log.size(), 1u) << "the question only: nothing registered, nothing shown";
}

// Only a No keeps the second copy from starting; a box that could not be shown does not.
TEST(Startup, ASecondCopyAnsweredYesOrNotAskedStartsFully) {
    for (const Answer answer : {Answer::Yes, Answer::None}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "no box");
        FormBench b;
        b.program.anotherCopy = true;
        b.prompt.answers = {answer};
        EXPECT_TRUE(b.form.Form_Load());
        EXPECT_TRUE(b.view.visible);
        EXPECT_EQ(Only(b.log, "install "),
                  Log{"install " + std::to_string(FakeSubclassPlatform::kReplacement)});
    }
}

TEST(Startup, APresentRunEntryIsPointedAtThisCopy) {
    const struct {
        std::uint32_t type;
        std::string data;
        bool present;
    } rows[] = {
        {reg::kTypeSz, "D:\\Old place\\Halcyra.exe /start", true},
        {reg::kTypeSz, "", true},
        {reg::kTypeSz, "Z", false}, // the presence marker itself counts as absent
        {reg::kTypeDword, std::string("\x05\0\0", 3), true},
        {reg::kTypeExpandSz, "%X%\\Halcyra.exe", false},
        {reg::kTypeBinary, "\x01\x02", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("type " + std::to_string(row.type) + " data '" + row.data + "'");
        FormBench b;
        b.registry.keys[kRunKey]["Halcyra"] = FakeRegistryApi::Value{row.type, row.data};
        b.form.Form_Load();
        const Log writes = Only(b.log, "set ");
        if (row.present) {
            // Once by start-up, once more by the box's handler, both for this copy.
            EXPECT_EQ(writes.size(), 2u);
            EXPECT_EQ(b.registry.keys[kRunKey]["Halcyra"].bytes,
                      std::string("C:\\Tools\\Halcyra.exe /start") + '\0');
            EXPECT_EQ(b.view.check1, 1);
        } else {
            EXPECT_TRUE(writes.empty());
            EXPECT_EQ(b.view.check1, 0);
        }
    }
}

TEST(Startup, NoRunKeyWritesNothing) {
    FormBench b;
    b.form.Form_Load();
    EXPECT_TRUE(Only(b.log, "set ").empty());
    EXPECT_TRUE(Only(b.log, "create ").empty());
    EXPECT_FALSE(b.registry.keys.count(kRunKey));
}

TEST(Startup, ARenamedCopyWritesItsOwnName) {
    // The program reports its name without the extension; a dot inside the name stays.
    const struct {
        const char* folder;
        const char* exeName;
        const char* data;
    } rows[] = {
        {"C:\\Program Files\\Halcyra", "Halcyra2",
         "\"C:\\Program Files\\Halcyra\\Halcyra2.exe\" /start"},
        {"C:\\Tools", "Halcyra.v2", "C:\\Tools\\Halcyra.v2.exe /start"},
        {"D:\\Stick", "halcyra.portable", "D:\\Stick\\halcyra.portable.exe /start"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exeName);
        FormBench b;
        b.program.folder = row.folder;
        b.program.exeName = row.exeName;
        PutRunEntry(b, reg::kTypeSz, "C:\\Tools\\Halcyra.exe /start");
        b.form.Form_Load();
        EXPECT_EQ(b.registry.keys[kRunKey]["Halcyra"].bytes, row.data + std::string(1, '\0'));
    }
}

TEST(Exit, TeardownRunsInOrderAndLeavesSettingsAndRunEntry) {
    FormBench b;
    b.settings.values["HotKeyShutdown"] = "S";
    b.settings.values["HotKeyStandby"] = "B";
    PutRunEntry(b, reg::kTypeSz, "C:\\Tools\\Halcyra.exe /start");
    b.Start("/start");
    b.form.Form_Unload();
    EXPECT_EQ(b.log, (Log{"unregister 4660 1", "unregister 4660 2",
                          "install " + std::to_string(kOriginalProc), TrayLine("Delete", 7),
                          "UninitializeComApartment"}));
    EXPECT_EQ(b.subclassPlatform.windows[kMainWindow].proc, kOriginalProc);
    EXPECT_FALSE(
        b.subclassPlatform.Props(kMainWindow).count(MSubclass::WindowCountName(kMainWindow)));
    EXPECT_TRUE(b.registry.keys[kRunKey].count("Halcyra"));
    EXPECT_EQ(b.settings.values["Confirm"], "1");

    b.log.clear();
    b.form.Form_Unload();
    EXPECT_TRUE(b.log.empty()) << "a second unload (end of session after Exit) does nothing";
}

TEST(Exit, ExitUnloadsTheWindow) {
    FormBench b;
    b.Start();
    b.form.MenuClick(MenuEntry::Exit);
    EXPECT_EQ(b.log, Log{"view.Unload"});
}

TEST(Startup, InitializeLeavesComToTheFirstShellCall) {
    FormBench b;
    b.form.Form_Initialize();
    EXPECT_TRUE(b.log.empty());
}

TEST(Exit, AnIconWhoseAddFailedIsStillRemoved) {
    FormBench b;
    b.notify.addFails = true;
    b.Start("/start");
    b.form.Form_Unload();
    EXPECT_EQ(Only(b.log, "tray."), Log{TrayLine("Delete", 7)});
    EXPECT_EQ(Only(b.log, "view.SetTrayRetryTimer"), Log{"view.SetTrayRetryTimer(0)"});
    EXPECT_TRUE(Boxes(b.log).empty());
}

} // namespace
} // namespace halcyra::test
