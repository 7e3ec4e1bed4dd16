// The Options flow as a user goes through it in the real program, and a picture of each window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HalcyraDriver.h"
#include "app/ControlIds.h"
#include "settings/win32/frmOptionsResources.h"

namespace halcyra::test {
namespace {

constexpr int kShutdownRow = 3;
constexpr int kLetterS = 19; // position of "S": "None", then "A" to "Z"

void Select(HWND options, int row, int position) {
    ::SendDlgItemMessageA(options, IDC_OPTIONS_COMBO0 + row, CB_SETCURSEL,
                          static_cast<WPARAM>(position), 0);
}

int Selected(HWND options, int row) {
    return static_cast<int>(
        ::SendDlgItemMessageA(options, IDC_OPTIONS_COMBO0 + row, CB_GETCURSEL, 0, 0));
}

void Press(HWND dialog, int id) {
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

class Preferences : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredState(); }
    void TearDown() override { ClearStoredState(); }
};

TEST_F(Preferences, OptionsRefusesAClashAppliesWithoutReloadingAndOkMakesTheLetterLive) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);

    Press(hwnd, ID_COMMANDOPTIONS);
    HWND options = halcyra.DialogTitled("Options");
    ASSERT_NE(options, nullptr);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(Selected(options, row), 0) << "an empty store shows None in row " << row;
    }

    // The same letter twice: one warning, nothing saved, the dialog stays open.
    Select(options, 0, kLetterS);
    Select(options, kShutdownRow, kLetterS);
    Press(options, IDOK);
    HWND clash = halcyra.DialogTitled("Halcyra Error");
    ASSERT_NE(clash, nullptr);
    EXPECT_EQ(MessageBoxText(clash), "You have duplicate entries for your shortcut keys.  Please "
                                     "make sure each key is unique or set to 'none.'");
    ::SendMessageA(::GetDlgItem(clash, IDOK), BM_CLICK, 0, 0);
    WaitUntil([&] { return !::IsWindow(clash); });
    ::Sleep(200);
    EXPECT_TRUE(::IsWindow(options));
    EXPECT_TRUE(WindowsOf(halcyra.Pid(), "#32770", "Halcyra Error").empty()) << "shown once";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyShutdown"), "(absent)");

    // Apply saves, Cancel closes: the new letter is stored but not yet live.
    Select(options, 0, 0);
    Press(options, IDC_OPTIONS_APPLY);
    EXPECT_TRUE(WaitUntil(
        [] { return ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyShutdownIndex") == "19"; }));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyShutdown"), "S");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyScreenSaver"), "None");
    Press(options, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));
    EXPECT_TRUE(HotkeyFree('S'));

    // OK from the menu's Options: the stored choice is shown, and becomes the live hotkey.
    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_OPTIONS, 0);
    options = halcyra.DialogTitled("Options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(Selected(options, kShutdownRow), kLetterS);
    Press(options, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));
    EXPECT_FALSE(HotkeyFree('S'));
    ASSERT_TRUE(PressKeys("ctrl+alt+s"));
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure you want to shutdown?");
    ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(halcyra.Running());
}

TEST_F(Preferences, EveryWindowIsPhotographed) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    ::SetWindowPos(hwnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // A real click on the title bar makes Halcyra the foreground program, as a user would.
    const auto focus = [] { RunUnix("xdotool mousemove 120 50 click 1"); };
    focus();
    ::Sleep(800);
    Screenshot("main");
    ASSERT_TRUE(PressKeys("alt+a")); // the "&Actions" menu dropped down from the menu bar
    ::Sleep(800);
    Screenshot("menu");
    PressKeys("Escape Escape");
    const struct {
        const char* keys; // the buttons' access keys
        const char* caption;
        const char* name;
    } rows[] = {{"alt+p", "Options", "options"},
                {"alt+b", "About Halcyra", "about"},
                {"alt+u", "Halcyra Updates", "update"}};
    for (const auto& row : rows) {
        focus();
        ASSERT_TRUE(PressKeys(row.keys));
        HWND dialog = halcyra.DialogTitled(row.caption);
        ASSERT_NE(dialog, nullptr) << row.caption;
        ::Sleep(800);
        Screenshot(row.name);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
    }
    // The icon's popup menu, opened where the pointer rests: beside the icon, by the clock.
    ::SendMessageA(::GetDlgItem(hwnd, ID_COMMANDMINIMIZE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(hwnd); }));
    RunUnix("xdotool mousemove 862 756");
    NotifyFromTray(hwnd, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([] {
        const auto menus = WindowsOf(0, "#32768", nullptr);
        return !menus.empty() && ::IsWindowVisible(menus.front());
    }));
    ::Sleep(800);
    Screenshot("tray");
    PressKeys("Escape");
}

} // namespace
} // namespace halcyra::test

namespace halcyra::test {
namespace {

TEST_F(Preferences, ACopyInAFolderWithBlanksWritesItsPathInQuotes) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "Halcyra Test Folder";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\Halcyra.exe";
    ASSERT_TRUE(::CopyFileA(HalcyraExe().c_str(), copy.c_str(), FALSE));
    {
        HalcyraProcess halcyra("", copy.c_str());
        HWND hwnd = halcyra.WaitReady();
        ASSERT_NE(hwnd, nullptr);
        ::SendMessageA(::GetDlgItem(hwnd, ID_CHECK1), BM_CLICK, 0, 0);
        // Unquoted, the first word of the path could start another program at log-on.
        char longPath[MAX_PATH] = {};
        ::GetLongPathNameA(copy.c_str(), longPath, MAX_PATH);
        const std::string data = ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra");
        EXPECT_TRUE(data == "\"" + copy + "\" /start" ||
                    data == "\"" + std::string(longPath) + "\" /start")
            << data;
    }
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace
} // namespace halcyra::test
