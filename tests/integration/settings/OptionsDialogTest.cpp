#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "common/win32/Utf8.h"
#include "settings/SettingsKeys.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "settings/win32/Win32KeyboardLayout.h"
#include "settings/win32/Win32SettingsStore.h"
#include "settings/win32/frmOptionsDialog.h"
#include "settings/win32/frmOptionsResources.h"
#include "support/Wait.h"

namespace halcyra::test {
namespace {

using halcyra::settings::kHotkeyPairs;

HWND FindVisible(const char* title) {
    HWND window = ::FindWindowA("#32770", title);
    return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
}

std::string Text(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD TakeError(UINT key) {
    if (::RegisterHotKey(nullptr, 0xB100, MOD_ALT | MOD_CONTROL, key)) {
        ::UnregisterHotKey(nullptr, 0xB100);
        return 0;
    }
    return ::GetLastError();
}

// The dialog runs modally on its own thread, owned by a main window of that thread (hotkeys
// can only be registered for a window of the calling thread); the test drives it from here.
struct SettingsOptionsDialog : ::testing::Test {
    win32::Win32SettingsStore store;
    win32::Win32HotkeyApi api;
    modHotkey hotkeys{api, store};
    std::thread ui;
    std::atomic<bool> closed{false}, release{false};
    HWND dialog = nullptr;

    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halcyra"); }
    void TearDown() override {
        if (dialog != nullptr && !closed) {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        release = true;
        if (ui.joinable()) {
            ui.join();
        }
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halcyra");
    }
    // Where a test gives one, the dialog asks this layout instead of the active one.
    IKeyboardLayout* layout = nullptr;

    void Open() {
        ui = std::thread([this] {
            HWND owner = ::CreateWindowA("STATIC", "HalcyraForm", WS_POPUP, 0, 0, 1, 1, nullptr,
                                         nullptr, nullptr, nullptr);
            hotkeys.SetMainWindow(reinterpret_cast<WindowHandle>(owner));
            if (layout != nullptr) {
                win32::ShowOptionsDialog(owner, store, hotkeys, *layout);
            } else {
                win32::ShowOptionsDialog(owner, store, hotkeys);
            }
            closed = true;
            while (!release) {
                ::Sleep(10);
            }
            hotkeys.UnregisterAllHotkeys(reinterpret_cast<WindowHandle>(owner));
            ::DestroyWindow(owner);
        });
        ASSERT_TRUE(WaitUntil([&] { return (dialog = FindVisible("Options")) != nullptr; }));
    }
    HWND Item(int id) const { return ::GetDlgItem(dialog, id); }
    HWND Combo(int row) const { return Item(IDC_OPTIONS_COMBO0 + row); }
    void Select(int row, int position) {
        ::SendMessageA(Combo(row), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
    // Posted: a click that opens a message box only returns when the box is gone.
    void Click(int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Key(WPARAM key) { ::PostMessageA(Item(IDOK), WM_KEYDOWN, key, 0); }
    std::string Stored(std::string_view key) {
        return store.GetSetting("Halcyra", "Settings", key, "absent");
    }
};

TEST_F(SettingsOptionsDialog, OpensWithTheListsSelectedFromTheIndexKeys) {
    store.SaveSetting("Halcyra", "Settings", "HotKeyScreenSaverIndex", "1");
    store.SaveSetting("Halcyra", "Settings", "HotKeyMonitorIndex", "26");
    store.SaveSetting("Halcyra", "Settings", "HotKeyLogOffIndex", "abc");
    store.SaveSetting("Halcyra", "Settings", "HotKeyShutdownIndex", "40");
    Open();
    const int expected[7] = {1, 26, 0, 0, 0, 0, 0};
    for (int row = 0; row < 7; ++row) {
        HWND combo = Combo(row);
        ASSERT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 27);
        EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), expected[row]) << row;
        EXPECT_EQ(::GetWindowLongA(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        char entry[8] = {};
        for (int position : {0, 1, 26}) {
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(position),
                           reinterpret_cast<LPARAM>(entry));
            EXPECT_STREQ(entry, position == 0 ? "None" : position == 1 ? "A" : "Z");
        }
        EXPECT_EQ(Text(Item(IDC_OPTIONS_LABEL0 + row)), kHotkeyPairs[row].optionsCaption);
    }
    EXPECT_EQ(Text(Item(IDC_OPTIONS_FRAME)), "Shortcut Settings");
    EXPECT_EQ(Text(Item(IDOK)), "&OK");
    EXPECT_EQ(Text(Item(IDCANCEL)), "C&ancel");
    EXPECT_EQ(Text(Item(IDC_OPTIONS_APPLY)), "A&pply");
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");

    // Tab order OK, Cancel, the lists, Apply, and the focus starts on OK.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
    EXPECT_EQ(info.hwndFocus, Item(IDOK));
    std::vector<int> order;
    HWND at = Item(IDOK);
    for (int i = 0; i < 10; ++i, at = ::GetNextDlgTabItem(dialog, at, FALSE)) {
        order.push_back(::GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (std::vector<int>{IDOK, IDCANCEL, 210, 211, 212, 213, 214, 215, 216, 201}));

    // Labels left of their lists inside the frame; the buttons in one row under it.
    RECT frame, label, combo, ok, cancel, apply;
    ::GetWindowRect(Item(IDC_OPTIONS_FRAME), &frame);
    ::GetWindowRect(Item(IDC_OPTIONS_LABEL0 + 1), &label);
    ::GetWindowRect(Combo(1), &combo);
    ::GetWindowRect(Item(IDOK), &ok);
    ::GetWindowRect(Item(IDCANCEL), &cancel);
    ::GetWindowRect(Item(IDC_OPTIONS_APPLY), &apply);
    EXPECT_LE(label.right, combo.left);
    EXPECT_TRUE(label.left > frame.left && combo.right < frame.right &&
                combo.bottom < frame.bottom);
    EXPECT_GT(ok.top, frame.bottom);
    EXPECT_TRUE(ok.top == cancel.top && cancel.top == apply.top);
    EXPECT_TRUE(ok.right < cancel.left && cancel.right < apply.left);
    if (const char* hold = std::getenv("HALCYRA_OPTIONS_HOLD_MS")) {
        ::Sleep(static_cast<DWORD>(std::atoi(hold))); // time for a screenshot
    }
    Key(VK_ESCAPE); // the cancel button
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
    EXPECT_EQ(Stored("HotKeyScreenSaver"), "absent");
}

TEST_F(SettingsOptionsDialog, AClashIsReportedOnceAndNothingIsSaved) {
    Open();
    Select(0, 5);
    Select(3, 5);
    Select(5, 5);
    Click(IDOK);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindVisible("Halcyra Error")) != nullptr; }));
    EXPECT_EQ(Text(::GetDlgItem(box, 0xFFFF)),
              "You have duplicate entries for your shortcut keys.  Please make sure each key is "
              "unique or set to 'none.'");
    ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindVisible("Halcyra Error") == nullptr; }));
    EXPECT_FALSE(WaitUntil([&] { return FindVisible("Halcyra Error") != nullptr; }, 400));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(::SendMessageA(Combo(3), CB_GETCURSEL, 0, 0), 5); // the user's choices stay
    EXPECT_EQ(Stored("HotKeyScreenSaver"), "absent");
    ::PostMessageA(dialog, WM_CLOSE, 0, 0); // the close box
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
    EXPECT_EQ(Stored("HotKeyScreenSaverIndex"), "absent");
}

TEST_F(SettingsOptionsDialog, ApplySavesButOnlyOkMakesTheHotkeysLive) {
    Open();
    Select(3, 19);
    Click(IDC_OPTIONS_APPLY);
    ASSERT_TRUE(WaitUntil([&] { return Stored("HotKeyStandbyIndex") == "0"; }));
    EXPECT_EQ(Stored("HotKeyShutdown"), "S");
    EXPECT_EQ(Stored("HotKeyShutdownIndex"), "19");
    EXPECT_EQ(Stored("HotKeyMonitor"), "None");
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(TakeError('S'), 0u);
    Select(6, 2);
    Click(IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
    EXPECT_EQ(Stored("HotKeyStandby"), "None");
    EXPECT_EQ(hotkeys.Counter(), 0);
}

TEST_F(SettingsOptionsDialog, EnterIsOkWhichSavesLoadsAndCloses) {
    Open();
    Select(3, 19);
    Select(6, 2);
    Key(VK_RETURN); // the default button
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
    EXPECT_EQ(Stored("HotKeyStandby"), "B");
    EXPECT_EQ(hotkeys.Counter(), 2);
    EXPECT_EQ(hotkeys.Slot(2), "Standby");
    EXPECT_EQ(TakeError('S'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(TakeError('B'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
}

std::wstring WideText(HWND box) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

// A layout where AltGr+S types an s with an acute accent, outside most ANSI code pages.
class PolishS : public IKeyboardLayout {
public:
    std::string AltGrText(std::uint32_t vk) override { return vk == 'S' ? "\xC5\x9B" : ""; }
};

TEST_F(SettingsOptionsDialog, AnAltGrLetterIsNamedWithItsCharacterAndNoGoesBack) {
    PolishS polish;
    layout = &polish;
    Open();
    Select(3, 19);
    for (const int answer : {IDNO, IDYES}) {
        Click(IDC_OPTIONS_APPLY);
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindVisible("Halcyra")) != nullptr; }));
        EXPECT_EQ(WideText(box), L"On this keyboard CTRL+ALT is also AltGr, so this shortcut "
                                 L"would take a character you type:\n\nCTRL+ALT+S types "
                                 L"\"\x015B\"\n\nKeep it anyway? Choose No to go back and pick "
                                 L"another letter.");
        ::SendMessageA(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return FindVisible("Halcyra") == nullptr; }));
        if (answer == IDNO) {
            EXPECT_FALSE(WaitUntil([&] { return Stored("HotKeyShutdown") != "absent"; }, 300));
        }
    }
    ASSERT_TRUE(WaitUntil([&] { return Stored("HotKeyShutdownIndex") == "19"; }));
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "Apply keeps the dialog open";
    Click(IDOK); // S is stored now: no second question
    ASSERT_TRUE(WaitUntil([&] { return closed.load(); }));
}

TEST(SettingsKeyboardLayout, TheUsLayoutTypesNothingWithCtrlAlt) {
    // The bench's layout has no AltGr: a letter must never be reported for what CTRL alone
    // makes of it (a control character).
    win32::Win32KeyboardLayout layout;
    for (std::uint32_t vk = 'A'; vk <= 'Z'; ++vk) {
        EXPECT_EQ(layout.AltGrText(vk), "") << static_cast<char>(vk);
    }
    EXPECT_EQ(win32::Narrow(win32::Widen("\xC5\x9B\xE2\x82\xAC@")), "\xC5\x9B\xE2\x82\xAC@");
    EXPECT_EQ(win32::Widen("\xE2\x82\xAC"), L"\x20AC");
}

} // namespace
} // namespace halcyra::test
