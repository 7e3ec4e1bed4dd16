// The real Halcyra.exe, started and driven from this process like a user and the shell would.
#include <gtest/gtest.h>

#include "HalcyraDriver.h"
#include "app/ControlIds.h"

namespace halcyra::test {
namespace {

class HalcyraEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredState(); }
    void TearDown() override { ClearStoredState(); }
};

TEST_F(HalcyraEndToEnd, AnOrdinaryStartShowsTheWindowWithoutAnIcon) {
    for (const char* arguments : {"", "/START", "\"/start \"", "/start second"}) {
        SCOPED_TRACE(std::string("arguments: ") + arguments);
        HalcyraProcess halcyra(arguments);
        ASSERT_TRUE(halcyra.Started());
        HWND hwnd = halcyra.WaitReady();
        ASSERT_NE(hwnd, nullptr);
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        EXPECT_FALSE(TrayIconPresent(hwnd));
    }
}

TEST_F(HalcyraEndToEnd, StartInTheTrayThenDoubleClickTheIcon) {
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(TrayIconPresent(hwnd));

    // A single click refreshes the icon and leaves the window hidden.
    ::SendMessageA(hwnd, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(TrayIconPresent(hwnd));

    // The shell sends the callback message with the mouse message in lParam.
    ::SendMessageA(hwnd, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
    EXPECT_FALSE(TrayIconPresent(hwnd));

    // Posted, as other shells and tray scripts deliver it: the same.
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ::PostMessageA(hwnd, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
}

TEST_F(HalcyraEndToEnd, MinimizeHidesToTheTrayAndMinimizeButtonBringsItBack) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(::IsIconic(hwnd)) << "hidden, never minimized";
    EXPECT_TRUE(TrayIconPresent(hwnd));

    // "Sh&ow" from the menu while hidden shows it again.
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_SHOW, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(TrayIconPresent(hwnd));

    // The "&Minimize" button is the same toggle.
    ::SendMessageA(::GetDlgItem(hwnd, ID_COMMANDMINIMIZE), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(hwnd); }));
    EXPECT_TRUE(TrayIconPresent(hwnd));
}

TEST_F(HalcyraEndToEnd, ARestartedTaskbarGetsTheIconBackOnlyWhileHidden) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    HalcyraProcess hidden("/start");
    HWND h = hidden.WaitReady(true);
    ASSERT_NE(h, nullptr);
    HalcyraProcess shown;
    HWND question = shown.DialogTitled("Halcyra"); // a second copy is asked about first
    ASSERT_NE(question, nullptr);
    ::SendMessageA(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    HWND s = shown.WaitReady();
    ASSERT_NE(s, nullptr);

    RemoveTrayIcon(h); // what a taskbar that went away did to it
    ASSERT_FALSE(TrayIconPresent(h));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(h); }));
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_FALSE(TrayIconPresent(s));
    EXPECT_TRUE(::IsWindowVisible(s));
}

TEST_F(HalcyraEndToEnd, AHotkeyPressAsksTheActionsQuestion) {
    SetSetting("HotKeyHibernate", "H");
    SetSetting("HotKeyShutdown", "S");
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(HotkeyFree('H')) << "CTRL+ALT+H belongs to Halcyra";
    EXPECT_TRUE(HotkeyFree('J'));

    ASSERT_TRUE(PressKeys("ctrl+alt+h"));
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure you want to hibernate?");
    ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));

    ASSERT_TRUE(PressKeys("ctrl+alt+s"));
    box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure you want to shutdown?");
    ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(halcyra.Running()) << "No leaves the program running";
    EXPECT_TRUE(TrayIconPresent(hwnd));
}

TEST_F(HalcyraEndToEnd, ASecondCopyAnsweredNoLeavesNothingAndYesStartsAnother) {
    SetSetting("HotKeyRestart", "R");
    HalcyraProcess first("/start");
    HWND firstWindow = first.WaitReady(true);
    ASSERT_NE(firstWindow, nullptr);

    {
        HalcyraProcess second;
        HWND box = second.DialogTitled("Halcyra");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box),
                  "A copy of Halcyra is already running, if it is not on your taskbar, check "
                  "the icon tray by the clock.  Would you like to start another instance?");
        ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
        EXPECT_TRUE(second.WaitForExit());
        EXPECT_EQ(second.ExitCode(), 1u) << "a script that started it sees a refusal";
        EXPECT_TRUE(WindowsOf(second.Pid(), "HalcyraForm", nullptr).empty() || !second.Running());
    }
    HalcyraProcess closed; // a setup closing every copy, this one while it asks
    ASSERT_NE(closed.DialogTitled("Halcyra"), nullptr);
    ::PostMessageA(closed.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(closed.WaitForExit()) << "quietly, without an error box";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(TrayIconPresent(firstWindow));
    EXPECT_FALSE(HotkeyFree('R')) << "the first copy keeps its hotkey";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), "(absent)");

    SetSetting("HotKeyShutdown", "T");
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x7100, MOD_CONTROL | MOD_ALT, 'T')); // a foreign holder
    HalcyraProcess third;
    HWND box = third.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    ::SendMessageA(::GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    HWND thirdWindow = third.WaitReady();
    ASSERT_NE(thirdWindow, nullptr);
    EXPECT_TRUE(::IsWindowVisible(thirdWindow));
    HWND report = third.DialogTitled("Halcyra"); // T only: the first copy's R goes unmentioned
    ::UnregisterHotKey(nullptr, 0x7100);
    EXPECT_NE(MessageBoxText(report).find("so it does nothing:\n\nCTRL+ALT+T"), std::string::npos);
}

TEST_F(HalcyraEndToEnd, ExitRemovesIconAndHotkeysButKeepsTheRunEntryAndSettings) {
    SetSetting("HotKeyLogOff", "L");
    SetRunEntry("C:\\Elsewhere\\Halcyra.exe /start");
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    // The entry left by a copy elsewhere now points at this one.
    const std::string expected = HalcyraExe() + " /start";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), expected);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Confirm"), "1");
    EXPECT_FALSE(HotkeyFree('L'));

    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
    EXPECT_TRUE(halcyra.WaitForExit());
    EXPECT_FALSE(TrayIconPresent(hwnd));
    EXPECT_TRUE(HotkeyFree('L'));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), expected);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyLogOff"), "L");
}

TEST_F(HalcyraEndToEnd, TheCloseBoxEndsTheProgram) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    ::PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(halcyra.WaitForExit());
}

TEST_F(HalcyraEndToEnd, TheCheckBoxesStoreTheirStateAtOnce) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    HWND startup = ::GetDlgItem(hwnd, ID_CHECK1);
    HWND confirm = ::GetDlgItem(hwnd, ID_CHECKREQUEST);
    EXPECT_EQ(::SendMessageA(startup, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageA(confirm, BM_GETCHECK, 0, 0), BST_CHECKED) << "first start";

    ::SendMessageA(startup, BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), HalcyraExe() + " /start");
    ::SendMessageA(startup, BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), "(absent)");

    ::SendMessageA(confirm, BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Confirm"), "0");
    // With the question off, monitor off and screen saver go straight to the platform.
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_MONITOR, 0);
    EXPECT_TRUE(halcyra.Running());
    ::SendMessageA(confirm, BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Confirm"), "1");
}

TEST_F(HalcyraEndToEnd, StartupReadsTheStoredConfirmation) {
    SetSetting("Confirm", "0");
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(::SendMessageA(::GetDlgItem(hwnd, ID_CHECKREQUEST), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Confirm"), "0");
}

} // namespace
} // namespace halcyra::test

namespace halcyra::test {
namespace {

class HalcyraDialogs : public HalcyraEndToEnd {
protected:
    void Close(HWND dialog) {
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !::IsWindow(dialog); });
    }
};

TEST_F(HalcyraDialogs, ButtonsAndMenuEntriesOpenTheirDialogsModallyOverTheMainWindow) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    const struct {
        int button;
        int menu;
        const char* caption;
    } rows[] = {{ID_COMMANDABOUT, ID_MNU_ABOUT, "About Halcyra"},
                {ID_COMMANDOPTIONS, ID_MNU_OPTIONS, "Options"},
                {ID_COMMANDUPDATES, ID_MNU_UPDCHK, "Halcyra Updates"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        // Posted: the handler only returns when the modal dialog has closed.
        for (const bool fromMenu : {false, true}) {
            if (fromMenu) {
                ::PostMessageA(hwnd, WM_COMMAND, static_cast<WPARAM>(row.menu), 0);
            } else {
                ::PostMessageA(::GetDlgItem(hwnd, row.button), BM_CLICK, 0, 0);
            }
            HWND dialog = halcyra.DialogTitled(row.caption);
            ASSERT_NE(dialog, nullptr) << (fromMenu ? "menu" : "button");
            EXPECT_EQ(::GetWindow(dialog, GW_OWNER), hwnd);
            EXPECT_FALSE(::IsWindowEnabled(hwnd)) << "modal";
            Close(dialog);
            EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(hwnd) != FALSE; }));
        }
    }
}

TEST_F(HalcyraDialogs, TheTrayPopupRunsTheChosenEntryAndIgnoresClicksMeanwhile) {
    SetSetting("HotKeyHibernate", "H");
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);

    // Pressing the right button alone opens nothing.
    ::SendMessageA(hwnd, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
    EXPECT_TRUE(WindowsOf(0, "#32768", nullptr).empty() ||
                !::IsWindowVisible(WindowsOf(0, "#32768", nullptr).front()));

    NotifyFromTray(hwnd, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] {
        const auto menus = WindowsOf(0, "#32768", nullptr);
        return !menus.empty() && ::IsWindowVisible(menus.front());
    })) << "the popup menu opens";
    ASSERT_TRUE(PressKeys("o")); // "&Options"
    HWND options = halcyra.DialogTitled("Options");
    ASSERT_NE(options, nullptr);

    // While the chosen entry's dialog is open, tray notifications are dropped...
    NotifyFromTray(hwnd, WM_LBUTTONDBLCLK);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    // ...but hotkeys still arrive.
    ASSERT_TRUE(PressKeys("ctrl+alt+h"));
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure you want to hibernate?");
    ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    WaitUntil([&] { return !::IsWindow(box); });

    Close(options);
    ::SendMessageA(hwnd, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
}

// The keyboard in the notification area (Win+B, the arrows, then Enter, Space, Shift+F10 or the
// menu key) gives an icon of the first version the right button's press and release, as a click.
TEST_F(HalcyraDialogs, TheShellsKeyboardActivationOpensThePopupAndTheWindowComesBack) {
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    NotifyFromTray(hwnd, WM_RBUTTONDOWN);
    NotifyFromTray(hwnd, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] {
        const auto menus = WindowsOf(0, "#32768", nullptr);
        return !menus.empty() && ::IsWindowVisible(menus.front());
    })) << "the popup menu opens";
    // "Sh&ow", the seventh entry, after "Keep a&wake..." and "E&xit".
    ASSERT_TRUE(PressKeys("Down Down Down Down Down Down Down Return"));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
    EXPECT_FALSE(halcyra.DialogTitled("Options", 300));
}

} // namespace
} // namespace halcyra::test
