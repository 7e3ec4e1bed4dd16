// The real Halcyra.exe where users' machines differ from the bench: a dense screen, a shortcut
// that asks for a minimized or maximized start, a notification area that refuses the icon.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HalcyraDriver.h"
#include "app/ControlIds.h"
#include "dialogs/win32/DialogIds.h"

namespace halcyra::test {
namespace {

const char* kDesktopKey = "Control Panel\\Desktop";

// The screen density a program reads when it starts; 0 removes the setting (96 DPI).
void SetLogPixels(DWORD dpi) {
    HKEY k = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &k, nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (dpi == 0) {
        ::RegDeleteValueA(k, "LogPixels");
    } else {
        ::RegSetValueExA(k, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                         sizeof dpi);
    }
    ::RegCloseKey(k);
}

bool PopupMenuOpen() {
    for (HWND menu : WindowsOf(0, "#32768", nullptr)) {
        if (::IsWindowVisible(menu)) {
            return true;
        }
    }
    return false;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

class RealMachines : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredState(); }
    void TearDown() override {
        SetLogPixels(0);
        ClearStoredState();
    }
};

TEST_F(RealMachines, EachDensityScalesTheLayoutAndKeepsTheShellsClicks) {
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE("DPI " + std::to_string(dpi));
        SetLogPixels(static_cast<DWORD>(dpi));
        HalcyraProcess halcyra("/start");
        HWND hwnd = halcyra.WaitReady(true);
        ASSERT_NE(hwnd, nullptr);

        // Waited for: a notification that arrives while one is handled is dropped.
        ::SendMessageA(hwnd, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
        NotifyFromTray(hwnd, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
        EXPECT_TRUE(WaitUntil([&] { return !TrayIconPresent(hwnd); }));

        // The client area and the controls at their twips positions for this density.
        RECT client{};
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, ::MulDiv(5010, dpi, 1440));
        EXPECT_EQ(client.bottom, ::MulDiv(1530, dpi, 1440));
        RECT button{};
        ::GetWindowRect(::GetDlgItem(hwnd, ID_COMMANDUPDATES), &button);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
        EXPECT_EQ(button.left, ::MulDiv(3360, dpi, 1440));
        EXPECT_EQ(button.bottom, ::MulDiv(1080 + 375, dpi, 1440));
        if (dpi != 144) {
            Screenshot("main-" + std::to_string(dpi) + "dpi");
        }

        // About from the keyboard alone: its links are tab stops after the two buttons, Space on
        // "Check For Updates" opens the Update dialog, Escape closes About.
        ::SetWindowPos(hwnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RunUnix("xdotool mousemove 120 50 click 1"); // the title bar: Halcyra in front
        ASSERT_TRUE(PressKeys("alt+b"));
        HWND about = halcyra.DialogTitled("About Halcyra");
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(PressKeys("Tab Tab Tab"));
        EXPECT_TRUE(
            WaitUntil([&] { return FocusOf(about) == ::GetDlgItem(about, IDC_ABOUT_WEBSITE); }));
        Screenshot("about-keyboard-" + std::to_string(dpi) + "dpi");
        ASSERT_TRUE(PressKeys("Tab space"));
        HWND update = halcyra.DialogTitled("Halcyra Updates");
        ASSERT_NE(update, nullptr);
        ::PostMessageA(update, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }));
        ASSERT_TRUE(PressKeys("Escape"));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

        // Back to the tray, and a right click there opens the popup.
        ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(hwnd); }));
        NotifyFromTray(hwnd, WM_RBUTTONUP);
        EXPECT_TRUE(WaitUntil(PopupMenuOpen)) << "the popup opens";
        ::SendMessageA(hwnd, WM_CANCELMODE, 0, 0); // as a click elsewhere would close it
        EXPECT_TRUE(WaitUntil([] { return !PopupMenuOpen(); }));
        ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
        EXPECT_TRUE(halcyra.WaitForExit());
    }
}

TEST_F(RealMachines, ThePointerAtTheTrayCoordinatesIsJustAPointer) {
    // At 192 DPI the client area is 668 pixels wide: the strip under "Check for &Updates"
    // holds x = 513, 515 and 517.
    SetLogPixels(192);
    // Out of the way first: a window shown under the pointer gets a move there at once.
    ASSERT_TRUE(RunUnix("/usr/bin/xdotool mousemove 1 1"));
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == hwnd; }));
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ASSERT_GT(client.right, 517);

    // Key presses queue behind the pointer's moves, so a Tab whose focus change has been seen
    // proves the move before it was handled. Had a move opened the popup menu, the Tab would go
    // to the menu; had it been taken for a double click, the focus would have left the control.
    ASSERT_TRUE(PressKeys("Tab"));
    ASSERT_TRUE(WaitUntil([&] { return ::IsChild(hwnd, FocusOf(hwnd)) != FALSE; }));
    for (const int x : {513, 515, 517}) {
        SCOPED_TRACE("x " + std::to_string(x));
        POINT at{x, client.bottom - 4};
        ::ClientToScreen(hwnd, &at);
        const HWND before = FocusOf(hwnd);
        const HWND next = ::GetNextDlgTabItem(hwnd, before, FALSE);
        ASSERT_TRUE(RunUnix("/usr/bin/xdotool mousemove " + std::to_string(at.x) + " " +
                            std::to_string(at.y)));
        ASSERT_TRUE(WaitUntil([&] {
            POINT p{};
            return ::GetCursorPos(&p) && p.x == at.x && p.y == at.y;
        }));
        ASSERT_TRUE(PressKeys("Tab"));
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(hwnd) == next; }));
        EXPECT_FALSE(PopupMenuOpen());
    }
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(TrayIconPresent(hwnd));
    EXPECT_TRUE(halcyra.Running());
}

TEST_F(RealMachines, AShortcutsMinimizedStartGoesToTheTrayAndMaximizedShowsTheWindow) {
    const struct {
        int showWindow;
        bool tray;
    } rows[] = {{SW_SHOWMINIMIZED, true},
                {SW_SHOWMAXIMIZED, false},
                {SW_MINIMIZE, true},
                {SW_SHOWMINNOACTIVE, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE("show state " + std::to_string(row.showWindow));
        HalcyraProcess halcyra("", nullptr, row.showWindow);
        HWND hwnd = halcyra.WaitReady(row.tray);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(::IsWindowVisible(hwnd) != FALSE, !row.tray);
        EXPECT_EQ(TrayIconPresent(hwnd), row.tray);
        EXPECT_FALSE(::IsIconic(hwnd));
        EXPECT_FALSE(::IsZoomed(hwnd));
        if (row.tray) {
            // Back from the tray it is the normal window.
            NotifyFromTray(hwnd, WM_LBUTTONDBLCLK);
            ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));
            EXPECT_FALSE(::IsIconic(hwnd));
            EXPECT_FALSE(TrayIconPresent(hwnd));
        }
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
        ::ReleaseDC(nullptr, screen);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, ::MulDiv(5010, dpi, 1440)) << "the designed size";
        ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
        EXPECT_TRUE(halcyra.WaitForExit());
    }
}

TEST_F(RealMachines, AnIconTheShellRefusesAsADuplicateStaysAndGoesWithTheProgram) {
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);

    // "TaskbarCreated" while the icon is still there: the shell refuses the second add of the
    // same icon. The next try finds it there: the window stays in the tray, the icon stays.
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hwnd, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_FALSE(WaitUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }, 15000));
    EXPECT_TRUE(TrayIconPresent(hwnd));
    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
    EXPECT_TRUE(halcyra.WaitForExit());
    EXPECT_FALSE(TrayIconPresent(hwnd));
}

TEST_F(RealMachines, AnIconWhoseAddWasRefusedButHeldGoesWhenTheWindowComesBack) {
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hwnd, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    ASSERT_TRUE(TrayIconPresent(hwnd)) << "refused, but there";
    // "Sh&ow" from the menu (as the icon's popup gives it) before the tries are over.
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_SHOW, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(TrayIconPresent(hwnd)) << "never both";
    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
    EXPECT_TRUE(halcyra.WaitForExit());
    EXPECT_FALSE(TrayIconPresent(hwnd));
}

} // namespace
} // namespace halcyra::test
