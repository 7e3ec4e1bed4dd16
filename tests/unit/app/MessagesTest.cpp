// The main window's messages, tray notifications, the show/hide toggle and hotkey dispatch.
#include <gtest/gtest.h>

#include <random>

#include "support/FormFakes.h"
#include "settings/SettingsKeys.h"
#include "app/ControlIds.h"

namespace halcyra::test {
namespace {

// Exactly one of window and icon is visible, and "Sh&ow" mirrors the window.
void ExpectVisibilityRule(FormBench& b) {
    EXPECT_NE(b.view.visible, b.form.SysIcon()->Visible());
    EXPECT_EQ(b.view.showChecked, b.view.visible);
}

TEST(WindowMessages, MinimizeHidesToTheTrayWithoutThePreviousProcedure) {
    FormBench b;
    b.Start();
    EXPECT_EQ(b.Send(0x112, 0xF020), 0);
    EXPECT_EQ(b.log,
              (Log{TrayLine("Add", 7), "view.SetVisible(false)", "view.SetShowChecked(false)"}));
    ExpectVisibilityRule(b);
}

TEST(WindowMessages, OtherCommandsAndUnknownHotkeysGoToThePreviousProcedure) {
    const struct {
        std::uint32_t msg;
        WParam w;
    } rows[] = {{0x112, 0xF060}, {0x112, 0xF021}, {0x112, 0xF170}, {0x312, 0},
                {0x312, 8},      {0x312, 0xBFFF}, {0x201, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Hex(row.msg) + " " + Hex(row.w));
        FormBench b;
        b.Start();
        // The previous procedure's answer (100 + wParam in the fake) comes back unchanged.
        EXPECT_EQ(b.Send(row.msg, row.w), 100 + static_cast<LResult>(row.w));
        EXPECT_EQ(b.log,
                  Log{"old " + std::to_string(kOriginalProc) + " " + std::to_string(row.msg)});
    }
}

TEST(WindowMessages, TaskbarCreatedReaddsTheIconOnlyWhileHidden) {
    FormBench hidden;
    hidden.Start("/start");
    EXPECT_EQ(hidden.Send(FakeWindowSystem::kTaskbarCreated, 0), 0);
    EXPECT_EQ(hidden.log, Log{TrayLine("Add", 7)});
    ExpectVisibilityRule(hidden);

    FormBench shown;
    shown.Start();
    EXPECT_EQ(shown.Send(FakeWindowSystem::kTaskbarCreated, 0), 0);
    EXPECT_TRUE(shown.log.empty());
    ExpectVisibilityRule(shown);
}

TEST(WindowMessages, HotkeysGoThroughTheSlotTable) {
    FormBench b;
    b.settings.values["HotKeyMonitor"] = "M";
    b.settings.values["HotKeyShutdown"] = "S";
    b.settings.values["HotKeyStandby"] = "B";
    b.Start("", false);
    EXPECT_EQ(b.Send(0x312, 1), 0);
    EXPECT_EQ(b.log, (Log{"Sleep(400)", "SendSystemCommand(0x1234, 0xF170, 2)"}));
    b.log.clear();
    b.Send(0x312, 2);
    EXPECT_EQ(Only(b.log, "power.ExitWindowsEx"), Log{"power.ExitWindowsEx(8, 0)"});
    b.log.clear();
    EXPECT_EQ(b.Send(0x312, 4), 0) << "an empty slot does nothing";
    EXPECT_TRUE(b.log.empty());
}

TEST(WindowMessages, AHotkeyAsksTheSameQuestionAsTheMenu) {
    FormBench b;
    b.settings.values["HotKeyHibernate"] = "H";
    b.Start();
    b.prompt.answers = {Answer::No};
    b.Send(0x312, 1);
    EXPECT_EQ(b.log, (Log{"power.GetPwrCapabilities",
                          "Ask(0x1234, Are you sure you want to hibernate?, Halcyra, Question)"}));
}

TEST(PerformAction, NamesMatchExactlyAndOnlyTwoPause) {
    const struct {
        const char* name;
        Log expected;
    } rows[] = {
        {"ScreenSaver", {"Sleep(400)", "SendSystemCommand(0x1234, 0xF140, 0)"}},
        {"TurnOffMonitor", {"Sleep(400)", "SendSystemCommand(0x1234, 0xF170, 2)"}},
        {"LogOff", {"power.ExitWindowsEx(0, 0)"}},
        {"Shutdown", {"power.ExitWindowsEx(8, 0)"}},
        {"Restart", {"power.ExitWindowsEx(2, 0)"}},
        {"Hibernate", {"power.SetSuspendState(TRUE, FALSE, FALSE)"}},
        {"Standby", {"power.SetSuspendState(FALSE, FALSE, FALSE)"}},
        {"shutdown", {}},
        {"Logoff", {}},
        {"", {}},
        {"Monitor", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FormBench b;
        b.Start("", false);
        b.form.PerformAction(row.name);
        Log seen;
        for (const auto& line : b.log) {
            if (line.rfind("Sleep", 0) == 0 || line.rfind("SendSystemCommand", 0) == 0 ||
                line.rfind("power.ExitWindowsEx", 0) == 0 ||
                line.rfind("power.SetSuspendState", 0) == 0) {
                seen.push_back(line);
            }
        }
        EXPECT_EQ(seen, row.expected);
    }
}

TEST(TrayNotifications, LeftClickRefreshesTheIconAndLeavesTheWindowHidden) {
    FormBench b;
    b.Start("/start");
    b.Tray(0x201);
    EXPECT_EQ(b.log, (Log{TrayLine("Modify", 4), TrayLine("Modify", 2), TrayLine("Modify", 7)}));
    EXPECT_FALSE(b.view.visible);
    ExpectVisibilityRule(b);
}

TEST(TrayNotifications, DoubleClickShowsTheWindowWithFocus) {
    FormBench b;
    b.Start("/start");
    b.Tray(0x203);
    EXPECT_EQ(b.log, (Log{"SetForegroundWindow(0x1234)", "view.SetShowChecked(true)",
                          TrayLine("Delete", 7), "view.SetVisible(true)", "view.SetFocus"}));
    ExpectVisibilityRule(b);
}

TEST(TrayNotifications, RightButtonReleaseOpensThePopupAndRunsTheChoice) {
    FormBench b;
    b.Start("/start");
    b.view.popupChoice = MenuEntry::Options;
    b.Tray(0x205);
    EXPECT_EQ(b.log, (Log{"SetForegroundWindow(0x1234)", "view.TrackActionsPopup",
                          "dialogs.Options(0x1234)"}));
}

TEST(TrayNotifications, OtherMouseMessagesDoNothing) {
    for (const int message : {0x200, 0x202, 0x204, 0x206, 0x207, 0x208, 512 + 1000, 0, -1}) {
        FormBench b;
        b.Start("/start");
        b.Tray(message);
        EXPECT_TRUE(b.log.empty()) << message;
    }
}

TEST(TrayNotifications, TheWindowsStateDecidesAtEveryDensityHoweverTheyCome) {
    // Twips per pixel at 96, 144 and 192 DPI; from 168 DPI on the client area is wider than
    // 517 pixels, so the pointer itself can stand at x = 513, 515 or 517.
    for (const std::int32_t twipsPerPixel : {15, 10, 7}) {
        for (const int message : {0x201, 0x203, 0x205}) {
            SCOPED_TRACE("twips per pixel " + std::to_string(twipsPerPixel) + ", x " +
                         Hex(message));
            FormBench b;
            b.view.twipsPerPixel = twipsPerPixel;
            b.Start(); // shown: no icon to click, every move is the pointer's
            b.view.popupChoice = MenuEntry::About;
            b.Pointer(message);
            b.Pointer(message, 1); // with the left button held: wParam is 1 like an icon id
            b.Tray(message);
            EXPECT_TRUE(b.log.empty());
            b.Send(0x112, 0xF020);
            b.log.clear();
            // Sent from another thread, but for another icon of this window.
            b.form.Form_MouseMove(0, 0, message * double(twipsPerPixel), 0, {true, 2});
            EXPECT_TRUE(b.log.empty());
            // Shown by another program while the icon is still up: its moves are the pointer's,
            // even those whose wParam is the icon's id.
            b.view.visible = true;
            b.Pointer(message, 1);
            b.Tray(message);
            b.Tray(message, false);
            EXPECT_TRUE(b.log.empty());
            b.view.visible = false;

            b.Tray(message, false);
            EXPECT_FALSE(b.log.empty()) << "posted by another shell or a script, it acts too";
        }
    }
}

TEST(TrayNotifications, NotificationsDuringAnOpenPopupOrDialogAreDropped) {
    FormBench b;
    b.Start("/start");
    b.view.popupChoice = MenuEntry::About;
    // While the popup is open, the user double-clicks the icon and right-clicks it again.
    b.view.onPopup = [&] {
        b.Tray(0x203);
        b.Tray(0x205);
    };
    b.Tray(0x205);
    EXPECT_EQ(b.log, (Log{"SetForegroundWindow(0x1234)", "view.TrackActionsPopup",
                          "dialogs.About(0x1234)"}));
    EXPECT_FALSE(b.view.visible);
    b.log.clear();
    b.view.onPopup = nullptr;
    b.Tray(0x203);
    EXPECT_TRUE(b.view.visible) << "the busy flag is off again afterwards";
}

TEST(ShowToggle, ShowAndMinimizeAlternateBetweenWindowAndIcon) {
    FormBench b;
    b.Start();
    b.form.mnu_Show_Click();
    EXPECT_EQ(b.log,
              (Log{TrayLine("Add", 7), "view.SetVisible(false)", "view.SetShowChecked(false)"}));
    ExpectVisibilityRule(b);
    b.log.clear();
    b.form.CommandMinimize_Click();
    EXPECT_EQ(b.log,
              (Log{TrayLine("Delete", 7), "view.SetVisible(true)", "view.SetShowChecked(true)"}));
    ExpectVisibilityRule(b);
}

TEST(VisibilityRule, AShellThatRefusesTheIconNeverLeavesTheUserWithout) {
    FormBench b;
    b.Start();
    b.notify.addFails = true;
    EXPECT_EQ(b.Send(0x112, 0xF020), 0) << "minimize";
    b.form.mnu_Show_Click();
    b.form.CommandMinimize_Click();
    EXPECT_EQ(Only(b.log, "view."), Log{}) << "the window stays where it is";
    EXPECT_EQ(Only(b.log, "tray.Add").size(), 3u);
    EXPECT_EQ(Only(b.log, "DebugOutput").size(), 3u) << "told to a debugger only";
    EXPECT_TRUE(Boxes(b.log).empty());
    EXPECT_TRUE(b.view.visible);
    EXPECT_TRUE(b.view.showChecked);

    // The shell takes icons again: the next minimize goes to the tray as usual.
    b.notify.addFails = false;
    b.Send(0x112, 0xF020);
    EXPECT_FALSE(b.view.visible);
    ExpectVisibilityRule(b);
}

TEST(WindowMessages, ATaskbarMessageThatCouldNotBeRegisteredIsNotAttached) {
    FormBench b;
    b.windows.registeredMessage = 0;
    b.Start("/start");
    const auto& p = b.subclassPlatform.Props(kMainWindow);
    EXPECT_EQ(p.at(MSubclass::WindowCountName(kMainWindow)), 2u);
    EXPECT_FALSE(p.count(MSubclass::MessageCountName(kMainWindow, 0)));
    b.form.SysIcon()->Initialize(kMainWindow, kTrayImage, product::kNameAndVersion, 0x200);
    b.log.clear();
    // WM_NULL (posted after every popup menu) must not re-add the icon.
    b.Send(0, 0);
    EXPECT_TRUE(Only(b.log, "tray.").empty());
    b.log.clear();
    b.form.Form_Unload();
    EXPECT_EQ(Only(b.log, "install "), Log{"install " + std::to_string(kOriginalProc)});
}

TEST(WindowMessages, ARecreatedTaskbarThatRefusesTheIconShowsTheWindowInTheEnd) {
    FormBench b;
    b.Start("/start");
    b.notify.addFails = true;
    b.notify.present = false; // gone with the old taskbar
    b.Send(FakeWindowSystem::kTaskbarCreated, 0);
    EXPECT_EQ(b.view.retryTimerMs, 2000u);
    for (int tick = 0; tick < 5; ++tick) {
        b.form.TrayRetry_Timer();
    }
    EXPECT_TRUE(b.view.visible);
    EXPECT_EQ(b.view.retryTimerMs, 0u);
    ExpectVisibilityRule(b);
}

// A steady shell: exactly one of window and icon. One that comes and goes: never both, and
// neither only while the icon is being tried again.
TEST(VisibilityRule, HoldsAfterAnySequenceOfUserAndShellEvents) {
    for (const bool flaky : {false, true}) {
        SCOPED_TRACE(flaky ? "a shell that comes and goes" : "a steady shell");
        std::mt19937 random(flaky ? 20261209 : 20261208);
        for (int run = 0; run < 20; ++run) {
            FormBench b;
            b.notify.addFails = flaky && run % 3 == 0;
            b.Start(run % 2 ? "/start" : "");
            for (int step = 0; step < 300; ++step) {
                switch (random() % (flaky ? 8 : 6)) {
                case 0:
                    b.Send(0x112, 0xF020);
                    break;
                case 1:
                    b.Send(FakeWindowSystem::kTaskbarCreated, 0);
                    break;
                case 2:
                    b.Tray(0x201);
                    break;
                case 3:
                    b.Tray(0x203, step % 2 == 0);
                    break;
                case 4:
                    b.form.mnu_Show_Click();
                    break;
                case 5:
                    b.form.MenuClick(MenuEntry::Show);
                    break;
                case 6:
                    b.form.TrayRetry_Timer();
                    break;
                default:
                    b.notify.addFails = !b.notify.addFails;
                    break;
                }
                const bool icon = b.form.SysIcon()->Visible();
                if (flaky) {
                    EXPECT_FALSE(b.view.visible && icon) << "never both";
                    if (!b.view.visible && !icon) {
                        EXPECT_NE(b.view.retryTimerMs, 0u) << "neither only while trying again";
                    }
                    EXPECT_EQ(b.view.showChecked, b.view.visible);
                } else {
                    ExpectVisibilityRule(b);
                }
                if (::testing::Test::HasFailure()) {
                    return;
                }
            }
        }
    }
}

TEST(DialogButtons, ButtonsAndMenuEntriesOpenTheSameDialogs) {
    FormBench b;
    b.Start();
    EXPECT_TRUE(b.form.ButtonClick(ID_COMMANDABOUT));
    b.form.MenuClick(MenuEntry::About);
    EXPECT_TRUE(b.form.ButtonClick(ID_COMMANDOPTIONS));
    b.form.MenuClick(MenuEntry::Options);
    EXPECT_TRUE(b.form.ButtonClick(ID_COMMANDUPDATES));
    b.form.MenuClick(MenuEntry::UpdChk);
    EXPECT_EQ(b.log,
              (Log{"dialogs.About(0x1234)", "dialogs.About(0x1234)", "dialogs.Options(0x1234)",
                   "dialogs.Options(0x1234)", "dialogs.Update(0x1234)", "dialogs.Update(0x1234)"}));
    b.log.clear();
    // The check boxes, the picture and the menu's own numbers are no buttons of an action.
    for (int id : {ID_CHECK1, ID_CHECKREQUEST, ID_HALCYRAIMAGE, ID_MNU_EXIT, 0}) {
        EXPECT_FALSE(b.form.ButtonClick(id)) << id;
    }
    EXPECT_TRUE(b.form.ButtonClick(ID_COMMANDMINIMIZE)); // the show/hide toggle
    EXPECT_EQ(b.log,
              (Log{TrayLine("Add", 7), "view.SetVisible(false)", "view.SetShowChecked(false)"}));
}

TEST(ActionTable, EveryHotkeyActionAndMenuEntryHasExactlyOneRow) {
    for (const auto& pair : settings::kHotkeyPairs) {
        int rows = 0;
        for (const auto& action : kPowerActions) {
            rows += action.hotkey == pair.actionName ? 1 : 0;
        }
        EXPECT_EQ(rows, 1) << pair.actionName;
    }
    for (int id = ID_MNU_ABOUT; id <= ID_MNU_LOCK; ++id) {
        int rows = 0;
        for (const auto& action : HalcyraForm::kActions) {
            rows += static_cast<int>(action.entry) == id ? 1 : 0;
        }
        EXPECT_EQ(rows, 1) << id;
    }
}

TEST(RunEntryBox, TickingWritesAndClearingDeletesAtOnce) {
    FormBench b;
    b.program.folder = "C:\\Tools";
    b.Start();
    b.view.check1 = 1;
    b.form.Check1_Click();
    auto& run = b.registry.keys["Software\\Microsoft\\Windows\\CurrentVersion\\Run"];
    EXPECT_EQ(run["Halcyra"].bytes, std::string("C:\\Tools\\Halcyra.exe /start") + '\0');
    b.log.clear();
    b.view.check1 = 0;
    b.form.Check1_Click();
    EXPECT_EQ(run.count("Halcyra"), 0u);
    EXPECT_EQ(Only(b.log, "delete ").size(), 1u);
    b.log.clear();
    b.form.Check1_Click();
    EXPECT_EQ(Boxes(b.log).size(), 0u) << "a value already gone changes nothing";
    b.log.clear();
    b.view.check1 = 2;
    b.form.Check1_Click();
    EXPECT_TRUE(b.log.empty()) << "the grey state does nothing";
}

} // namespace
} // namespace halcyra::test
