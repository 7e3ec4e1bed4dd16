// The main window's real window layer in this process: its menu (Wine keeps menus per process),
// its layout in twips at the screen's density, and the "Sh&ow" mark through hide and show.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/FormFakes.h"
#include "app/win32/ScheduleResources.h"
#include "app/win32/Win32MainWindow.h"
#include "app/win32/Win32ScheduleView.h"
#include "app/win32/Win32WindowSystem.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "tray/win32/Win32NotifyIconApi.h"
#include "winmsg/win32/Win32SubclassPlatform.h"

namespace halcyra::testing {
namespace {

// The real window, tray and subclassing; fakes where a real call would end the session or
// need another program's window.
struct RealWindow {
    Log log;
    FakeWindowSystem windows{log};
    FakePower power{log};
    FakeProgram program;
    FakeDialogs dialogs{log};
    FakeSettingsStore settings{log};
    FakeRegistryApi registry{log};
    win32::Win32NotifyIconApi notify;
    win32::Win32HotkeyApi hotkeyApi;
    modHotkey hotkeys{hotkeyApi, settings};
    win32::Win32MainWindow window{::GetModuleHandleA(nullptr)};
    HalcyraForm form{HalcyraForm::Services{window, windows, power, program, dialogs, settings,
                                           registry, notify, hotkeys, win32::SubclassModule()}};

    explicit RealWindow(const std::string& arguments = "",
                        const std::function<void(RealWindow&)>& arrange = {}) {
        program.arguments = arguments;
        if (arrange) {
            arrange(*this);
        }
        form.Form_Initialize();
        created = window.Create(form) && form.Form_Load();
    }
    ~RealWindow() {
        if (window.Hwnd()) {
            ::SendMessageA(window.Hwnd(), WM_CLOSE, 0, 0);
        }
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
    }
    HWND Hwnd() const { return window.Hwnd(); }
    bool ShowChecked() const {
        return (::GetMenuState(::GetMenu(Hwnd()), ID_MNU_SHOW, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool created = false;
};

// Dispatches this thread's messages until pred holds or the time is up.
bool PumpUntil(const std::function<bool()>& pred, int milliseconds = 8000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
        if (pred()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
    return pred();
}

// A tray notification the way the shell delivers it: sent from another thread.
void NotifyFromAnotherThread(HWND hwnd, UINT mouseMessage) {
    std::thread([=] {
        ::SendNotifyMessageA(hwnd, WM_MOUSEMOVE, 1, static_cast<LPARAM>(mouseMessage));
    }).join();
}

std::string Text(HWND window, int id) {
    char text[128] = {};
    ::GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

std::string Caption(HMENU menu, UINT position) {
    char text[128] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(MainWindowMenu, ActionsHoldsTheFifteenEntriesInOrder) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    HMENU bar = ::GetMenu(w.Hwnd());
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    EXPECT_EQ(Caption(bar, 0), "&Actions");
    HMENU actions = ::GetSubMenu(bar, 0);
    const std::vector<std::string> expected{"&About...",
                                            "Check for &Updates...",
                                            "&Options",
                                            "Sch&edule...",
                                            "E&xit",
                                            "Sh&ow",
                                            "",
                                            "&Force",
                                            "S&tandby",
                                            "&Hibernate",
                                            "&Restart",
                                            "&Shutdown",
                                            "&Logoff",
                                            "Turn off &Monitor",
                                            "S&creen Saver"};
    ASSERT_EQ(::GetMenuItemCount(actions), static_cast<int>(expected.size()));
    for (UINT i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Caption(actions, i), expected[i]) << i;
        const UINT state = ::GetMenuState(actions, i, MF_BYPOSITION);
        if (!(state & MF_SEPARATOR)) { // a separator always reads as disabled
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u) << i;
        }
    }
    EXPECT_TRUE(::GetMenuState(actions, 6, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU force = ::GetSubMenu(actions, 7);
    ASSERT_NE(force, nullptr);
    ASSERT_EQ(::GetMenuItemCount(force), 2);
    EXPECT_EQ(Caption(force, 0), "Force a &Shutdown");
    EXPECT_EQ(Caption(force, 1), "Force a &Restart");
    EXPECT_EQ(::GetMenuDefaultItem(actions, FALSE, 0), static_cast<UINT>(-1));
}

TEST(MainWindowMenu, ShowMarkFollowsTheWindowThroughMinimizeAndShow) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    EXPECT_TRUE(::IsWindowVisible(w.Hwnd()));
    EXPECT_TRUE(w.ShowChecked());

    ::SendMessageA(w.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(w.Hwnd()));
    EXPECT_FALSE(w.ShowChecked());
    EXPECT_TRUE(w.form.SysIcon()->Visible());

    ::SendMessageA(w.Hwnd(), WM_COMMAND, ID_MNU_SHOW, 0);
    EXPECT_TRUE(::IsWindowVisible(w.Hwnd()));
    EXPECT_TRUE(w.ShowChecked());
    EXPECT_FALSE(w.form.SysIcon()->Visible());

    NotifyFromAnotherThread(w.Hwnd(), WM_LBUTTONDBLCLK); // while shown: stays shown
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(w.ShowChecked());
}

TEST(MainWindowMenu, AStartInTheTrayClearsTheShowMark) {
    RealWindow w("/start");
    ASSERT_TRUE(w.created);
    EXPECT_FALSE(::IsWindowVisible(w.Hwnd()));
    EXPECT_FALSE(w.ShowChecked());
    EXPECT_TRUE(w.form.SysIcon()->Visible());
    NotifyFromAnotherThread(w.Hwnd(), WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(w.Hwnd()) != FALSE; }));
    EXPECT_TRUE(w.ShowChecked());
}

TEST(MainWindowMouse, OnlyAMoveSentFromAnotherThreadIsATrayClick) {
    RealWindow w("/start");
    ASSERT_TRUE(w.created);
    // The pointer's own moves come through the queue, with the button state in wParam: the
    // left button held makes it 1, like the icon's id.
    for (const WPARAM keys : {WPARAM{0}, WPARAM{MK_LBUTTON}}) {
        ::PostMessageA(w.Hwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(WM_LBUTTONDBLCLK, 40));
        ::PostMessageA(w.Hwnd(), WM_MOUSEMOVE, keys, WM_LBUTTONDBLCLK);
    }
    ::SendMessageA(w.Hwnd(), WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK); // this thread's own send
    ::PostMessageA(w.Hwnd(), WM_NULL, 0, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_FALSE(::IsWindowVisible(w.Hwnd()));
    EXPECT_TRUE(w.form.SysIcon()->Visible());

    NotifyFromAnotherThread(w.Hwnd(), WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(w.Hwnd()) != FALSE; }));
    EXPECT_FALSE(w.form.SysIcon()->Visible());
}

TEST(MainWindowStart, TheUserInterfaceThreadIsASingleThreadedApartment) {
    win32::Win32WindowSystem windows;
    windows.InitializeComApartment();
    // A thread already in a single-threaded apartment cannot join the multithreaded one.
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    windows.UninitializeComApartment();
    const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK) << "left as it was found";
    if (SUCCEEDED(after)) {
        ::CoUninitialize();
    }
}

TEST(MainWindowLayout, ClientAreaAndControlsStandAtTheirTwipsPositions) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    const auto px = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };

    RECT client{};
    ::GetClientRect(w.Hwnd(), &client);
    EXPECT_EQ(client.right, px(5010));
    EXPECT_EQ(client.bottom, px(1530));

    const LONG style = ::GetWindowLongA(w.Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed border";

    const struct {
        int id;
        const char* caption;
        int left, top, width, height;
    } controls[] = {
        {ID_CHECK1, "Startup on system startup", 120, 120, 3015, 255},
        {ID_CHECKREQUEST,
         "Request confirmation before shutting down, restarting, standing by, logging of, or "
         "hibernating.",
         120, 480, 2895, 855},
        {ID_COMMANDABOUT, "A&bout", 3360, 0, 1575, 375},
        {ID_COMMANDOPTIONS, "O&ptions", 3360, 360, 1575, 375},
        {ID_COMMANDMINIMIZE, "&Minimize", 3360, 720, 1575, 375},
        {ID_COMMANDUPDATES, "Check for &Updates", 3360, 1080, 1575, 375},
        {ID_HALCYRAIMAGE, "", 3120, 1080, 240, 240},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = ::GetDlgItem(w.Hwnd(), c.id);
        ASSERT_NE(control, nullptr);
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, w.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, px(c.left));
        EXPECT_EQ(r.top, px(c.top));
        if (c.id != ID_HALCYRAIMAGE) { // the picture takes the icon's own size
            EXPECT_EQ(r.right - r.left, px(c.width));
            EXPECT_EQ(r.bottom - r.top, px(c.height));
        }
        char text[256] = {};
        ::GetWindowTextA(control, text, sizeof text);
        EXPECT_STREQ(text, c.caption);
        if (c.id != ID_HALCYRAIMAGE) {
            LOGFONTA font{};
            ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)),
                         sizeof font, &font);
            EXPECT_STREQ(font.lfFaceName, "Tahoma");
            EXPECT_EQ(font.lfHeight, -::MulDiv(825, dpi, 7200));
            EXPECT_EQ(font.lfWeight, FW_NORMAL);
        }
    }
    EXPECT_NE(::SendDlgItemMessageA(w.Hwnd(), ID_HALCYRAIMAGE, STM_GETICON, 0, 0), 0);

    // Tab order: the two boxes, then the four buttons.
    std::vector<int> order;
    HWND at = ::GetDlgItem(w.Hwnd(), ID_CHECK1);
    for (int i = 0; i < 6; ++i) {
        order.push_back(::GetDlgCtrlID(at));
        at = ::GetNextDlgTabItem(w.Hwnd(), at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<int>{ID_CHECK1, ID_CHECKREQUEST, ID_COMMANDABOUT,
                                       ID_COMMANDOPTIONS, ID_COMMANDMINIMIZE, ID_COMMANDUPDATES}));
}

// In the tray the window has no controls yet; when it is first shown they carry what start-up
// set, and from then on they answer for themselves.
TEST(MainWindowLayout, ControlsComeWithTheFirstShowingAndCarryTheStartUpState) {
    for (const char* confirm : {"1", "0"}) {
        SCOPED_TRACE(confirm);
        RealWindow w("/start", [confirm](RealWindow& r) {
            r.settings.values["Confirm"] = confirm;
            r.registry.keys["Software\\Microsoft\\Windows\\CurrentVersion\\Run"]["Halcyra"] =
                FakeRegistryApi::Value{REG_SZ, std::string("C:\\Old\\Halcyra.exe /start") + '\0'};
        });
        ASSERT_TRUE(w.created);
        const UINT request = std::string(confirm) == "1" ? BST_CHECKED : BST_UNCHECKED;
        EXPECT_EQ(::GetDlgItem(w.Hwnd(), ID_CHECK1), nullptr);
        EXPECT_EQ(::GetDlgItem(w.Hwnd(), ID_COMMANDABOUT), nullptr);
        EXPECT_EQ(w.window.Check1Value(), BST_CHECKED);
        EXPECT_EQ(static_cast<UINT>(w.window.CheckRequestValue()), request);

        NotifyFromAnotherThread(w.Hwnd(), WM_LBUTTONDBLCLK);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(w.Hwnd()) != FALSE; }));
        ASSERT_NE(::GetDlgItem(w.Hwnd(), ID_CHECK1), nullptr);
        EXPECT_EQ(::IsDlgButtonChecked(w.Hwnd(), ID_CHECK1), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(w.Hwnd(), ID_CHECKREQUEST), request);

        ::SendDlgItemMessageA(w.Hwnd(), ID_CHECKREQUEST, BM_CLICK, 0, 0);
        EXPECT_NE(static_cast<UINT>(w.window.CheckRequestValue()), request);
        EXPECT_EQ(w.settings.values["Confirm"], request == BST_CHECKED ? "0" : "1");
        ::SendMessageA(w.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_NE(::GetDlgItem(w.Hwnd(), ID_CHECK1), nullptr) << "made once, kept";
    }
}

TEST(MainWindowMenu, ExitTearsDownAndEndsTheLoop) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    HWND hwnd = w.Hwnd();
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_EXIT, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    MSG msg;
    bool quit = false;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || msg.message == WM_QUIT;
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(w.form.SysIcon()->Visible());
}

// Armed: the cancel entry under "Sch&edule..." (the tray popup is the same menu), the status row
// in a window one row taller, and a fresh minute when the clock or a wake puts the deadline
// behind. The clock is the fake one: the real one cannot be moved here.
TEST(MainWindowSchedule, ArmedShowsEverywhereAndAPassedDeadlineWarnsAfresh) {
    test::FakeClock clock;
    test::FakeTimerPlatform timerPlatform;
    MTimer timers{timerPlatform};
    RealWindow w;
    ASSERT_TRUE(w.created);
    win32::Win32ScheduleView view(::GetModuleHandleA(nullptr), w.window);
    view.SetForm(w.form);
    w.form.AttachSchedule(ScheduleServices{clock, clock, timers, view});
    clock.SetLocal({2026, 3, 28, 22, 0});
    HMENU actions = ::GetSubMenu(::GetMenu(w.Hwnd()), 0);
    RECT before{};
    ::GetClientRect(w.Hwnd(), &before);

    ASSERT_EQ(w.form.Schedule().Arm({MenuEntry::Monitor, ScheduleKind::At, 0, 23, 30}, true),
              ArmResult::Armed);
    EXPECT_EQ(Caption(actions, 4), "Ca&ncel scheduled Turn off Monitor (23:30)");
    EXPECT_EQ(w.form.SysIcon()->TipText(), "Halcyra - Turn off Monitor at 23:30");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(w.Hwnd(), ID_SCHEDULECANCEL)));
    RECT armed{};
    ::GetClientRect(w.Hwnd(), &armed);
    EXPECT_GT(armed.bottom, before.bottom);
    EXPECT_EQ(view.Warning(), nullptr);

    clock.utc += 2 * 3600; // the clock set forward past 23:30
    ::SendMessageA(w.Hwnd(), WM_TIMECHANGE, 0, 0);
    ASSERT_NE(view.Warning(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(view.Warning()));
    EXPECT_NE(::GetForegroundWindow(), view.Warning());
    EXPECT_EQ(Text(view.Warning(), IDC_WARN_TEXT), "Turn off Monitor in 1:00");

    clock.Advance(3 * 3600 * 1000LL); // asleep through the new zero
    EXPECT_EQ(::SendMessageA(w.Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    EXPECT_EQ(Text(view.Warning(), IDC_WARN_TEXT), "Turn off Monitor in 1:00");
    EXPECT_EQ(Only(w.log, "SendSystemCommand"), Log{}); // never done on wake

    ::SendMessageA(w.Hwnd(), WM_COMMAND, ID_SCHEDULECANCEL, 0);
    EXPECT_FALSE(::IsWindowVisible(view.Warning()));
    EXPECT_EQ(Caption(actions, 4), "E&xit");
    EXPECT_EQ(w.form.SysIcon()->TipText(), "Halcyra 1.3.2");
    RECT after{};
    ::GetClientRect(w.Hwnd(), &after);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(timerPlatform.running.empty());
}

} // namespace
} // namespace halcyra::testing
