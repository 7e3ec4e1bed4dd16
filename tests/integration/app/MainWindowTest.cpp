// The main window's real window layer in this process: its menu (Wine keeps menus per process),
// its layout in twips at the screen's density, and the "Sh&ow" mark through hide and show.
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/FakePowerRequest.h"
#include "support/FakeProcessPort.h"
#include "support/FormFakes.h"
#include "schedule/win32/ScheduleResources.h"
#include "app/win32/Win32MainWindow.h"
#include "schedule/win32/Win32ScheduleView.h"
#include "app/win32/Win32WindowSystem.h"
#include "awake/win32/KeepAwakeDialog.h"
#include "awake/win32/KeepAwakeResources.h"
#include "common/win32/ComApartment.h"
#include "dialogs/win32/DialogIds.h"
#include "dialogs/win32/Dialogs.h"
#include "settings/win32/frmOptionsDialog.h"
#include "settings/win32/frmOptionsResources.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "tray/win32/Win32NotifyIconApi.h"
#include "winmsg/win32/Win32SubclassPlatform.h"
#include "app/ControlIds.h"

namespace halcyra::test {
namespace {

// The real window, tray and subclassing; fakes where a real call would end the session or
// need another program's window.
struct RealWindow {
    Log log;
    FakeWindowSystem windows{log};
    FakePrompt prompt{log};
    FakePower power{log};
    FakeProgram program;
    FakeDialogs dialogs{log};
    FakeSettingsStore settings{log};
    FakeRegistryApi registry{log};
    win32::Win32NotifyIconApi notify;
    win32::Win32HotkeyApi hotkeyApi;
    modHotkey hotkeys{hotkeyApi, settings};
    win32::Win32MainWindow window{::GetModuleHandleA(nullptr)};
    // The schedule's clock is the fake one: the real one cannot be moved here.
    test::FakeClock clock;
    test::FakeTimerPlatform timerPlatform;
    MTimer timers{timerPlatform};
    FakeProcessPort processes;
    win32::Win32ScheduleView scheduleView{
        ::GetModuleHandleA(nullptr), processes,
        [this](const std::string& status, const std::string& caption) {
            window.ShowScheduleState(status, caption);
        }};
    ScheduleController schedule{ScheduleServices{clock, clock, timers, scheduleView, processes},
                                prompt, windows, settings};
    FakePowerRequest awakePower;
    AwakeController awake{AwakeServices{clock, timers, awakePower, processes}, prompt,
                          AwakeController::Hooks{
                              [this] { return window.Handle(); },
                              [] { return std::optional<AwakeRequest>(); },
                              [this](const std::string& status) { window.ShowAwakeState(status); },
                          }};
    HalcyraForm form{HalcyraForm::Services{window, windows, prompt, power, program, dialogs,
                                           settings, registry, notify, hotkeys,
                                           win32::SubclassModule()},
                     schedule, awake};

    explicit RealWindow(const std::string& arguments = "",
                        const std::function<void(RealWindow&)>& arrange = {},
                        win32::Win32MainWindow::DensityOfWindow densityOf = nullptr)
        : window(::GetModuleHandleA(nullptr), densityOf) {
        program.arguments = arguments;
        scheduleView.SetController(form.Schedule());
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

TEST(MainWindowAwake, OnSwapsTheEntryMarksTheTrayAndAddsTheRow) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    HMENU actions = ::GetSubMenu(::GetMenu(w.Hwnd()), 0);
    const ImageHandle plain = w.window.HalcyraImagePicture();
    w.window.SetVisible(true);
    RECT before{};
    ::GetClientRect(w.Hwnd(), &before);
    w.window.ShowAwakeState("Kept awake until turned off");
    EXPECT_EQ(Caption(actions, 4), "Stop keeping a&wake");
    EXPECT_NE(w.window.HalcyraImagePicture(), plain);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(w.Hwnd(), ID_AWAKESTOP)));
    RECT on{};
    ::GetClientRect(w.Hwnd(), &on);
    EXPECT_GT(on.bottom, before.bottom);
    w.window.ShowAwakeState("");
    EXPECT_EQ(Caption(actions, 4), "Keep a&wake...");
    EXPECT_EQ(w.window.HalcyraImagePicture(), plain);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(w.Hwnd(), ID_AWAKESTOP)));
    RECT off{};
    ::GetClientRect(w.Hwnd(), &off);
    EXPECT_EQ(off.bottom, before.bottom);
}

TEST(MainWindowMenu, ActionsHoldsItsEntriesInOrder) {
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
                                            "Keep a&wake...",
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
                                            "S&creen Saver",
                                            "Loc&k"};
    ASSERT_EQ(::GetMenuItemCount(actions), static_cast<int>(expected.size()));
    for (UINT i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Caption(actions, i), expected[i]) << i;
        const UINT state = ::GetMenuState(actions, i, MF_BYPOSITION);
        if (!(state & MF_SEPARATOR)) { // a separator always reads as disabled
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u) << i;
        }
    }
    EXPECT_TRUE(::GetMenuState(actions, 7, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU force = ::GetSubMenu(actions, 8);
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

TEST(MainWindowMouse, WhileHiddenOnlyAMoveWithTheIconsIdIsATrayClick) {
    RealWindow w("/start");
    ASSERT_TRUE(w.created);
    for (const WPARAM keys : {WPARAM{0}, WPARAM{2}}) {
        ::PostMessageA(w.Hwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(WM_LBUTTONDBLCLK, 40));
        ::PostMessageA(w.Hwnd(), WM_MOUSEMOVE, keys, WM_LBUTTONDBLCLK);
    }
    ::SendMessageA(w.Hwnd(), WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK); // this thread's own send
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
    win32::com::EnterApartment(); // as the first shell call or screen reader's question does
    // A thread already in a single-threaded apartment cannot join the multithreaded one.
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    windows.UninitializeComApartment();
    const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK) << "left as it was found";
    if (SUCCEEDED(after)) {
        ::CoUninitialize();
    }
}

int ImageWidth(HICON icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    ::GetIconInfo(icon, &info);
    ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor); // none for a monochrome icon: harmless
    return bitmap.bmWidth;
}

// Born on the screen or on a second screen of 144 dots per inch (where no WM_DPICHANGED
// comes), then moved to screens of 144 and 192: the window is laid out as a start at that
// density lays it out and shows its picture at that size; the tray's picture keeps the
// taskbar's density.
int BornAt144(HWND) {
    return 144;
}

TEST(MainWindowLayout, ClientAreaAndControlsStandAtTheirTwipsPositions) {
    HDC screen = ::GetDC(nullptr);
    const int screenDpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    const int taskbarImage = screenDpi * 16 / 96;
    for (const auto& [bornAt, densityOf] :
         {std::pair<int, win32::Win32MainWindow::DensityOfWindow>{screenDpi, nullptr},
          std::pair<int, win32::Win32MainWindow::DensityOfWindow>{144, BornAt144}}) {
        RealWindow w("", {}, densityOf);
        ASSERT_TRUE(w.created);
        for (const int dpi : {bornAt, 144, 192}) {
            SCOPED_TRACE("born at " + std::to_string(bornAt) + ", DPI " + std::to_string(dpi));
            const auto px = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };
            if (dpi != bornAt) {
                RECT frame{0, 0, px(5010), px(1530)};
                ::AdjustWindowRectEx(
                    &frame, static_cast<DWORD>(::GetWindowLongA(w.Hwnd(), GWL_STYLE)), TRUE, 0);
                ::OffsetRect(&frame, 40, 30);
                ::SendMessageA(w.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                               reinterpret_cast<LPARAM>(&frame));
                RECT placed{};
                ::GetWindowRect(w.Hwnd(), &placed);
                EXPECT_EQ(placed.left, frame.left) << "at the suggested place";
                EXPECT_EQ(placed.top, frame.top);
            }
            EXPECT_EQ(ImageWidth(reinterpret_cast<HICON>(w.window.HalcyraImagePicture())),
                      taskbarImage);
            EXPECT_EQ(w.form.SysIcon()->IconHandle(), w.window.HalcyraImagePicture());
            EXPECT_EQ(ImageWidth(reinterpret_cast<HICON>(
                          ::SendDlgItemMessageA(w.Hwnd(), ID_HALCYRAIMAGE, STM_GETICON, 0, 0))),
                      dpi * 16 / 96);

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
                 "Request confirmation before shutting down, restarting, standing by, logging of, "
                 "or "
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
            EXPECT_EQ(order,
                      (std::vector<int>{ID_CHECK1, ID_CHECKREQUEST, ID_COMMANDABOUT,
                                        ID_COMMANDOPTIONS, ID_COMMANDMINIMIZE, ID_COMMANDUPDATES}));
        }
    }
}

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

// What a screen reader hears of the controls of the main window, the four dialogs and the
// schedule's warning: one of each kind, and every one whose name does not come from its caption.
struct AccessibleRow {
    const char* window; // its title
    int id;
    LONG role;
    const wchar_t* name;
    LONG state; // of checked, linked and default: exactly these
};

constexpr LONG kChecked = STATE_SYSTEM_CHECKED;
constexpr LONG kLinked = STATE_SYSTEM_LINKED;
constexpr LONG kDefault = STATE_SYSTEM_DEFAULT;
constexpr LONG kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr LONG kLink = ROLE_SYSTEM_LINK;
constexpr LONG kPicture = ROLE_SYSTEM_GRAPHIC;
constexpr LONG kRadio = ROLE_SYSTEM_RADIOBUTTON;
constexpr LONG kField = ROLE_SYSTEM_TEXT;
constexpr const char* kWarning = "Halcyra - Scheduled action";

const AccessibleRow kAccessibleRows[] = {
    {"Halcyra", ID_CHECK1, ROLE_SYSTEM_CHECKBUTTON, L"Startup on system startup", 0},
    {"Halcyra", ID_CHECKREQUEST, ROLE_SYSTEM_CHECKBUTTON,
     L"Request confirmation before shutting down, restarting, standing by, logging of, or "
     L"hibernating.",
     kChecked},
    {"Halcyra", ID_COMMANDABOUT, kButton, L"About", 0},
    {"Halcyra", ID_HALCYRAIMAGE, kPicture, L"Halcyra", 0},
    {"About Halcyra", IDC_ABOUT_PICTURE1, kPicture, L"Monitor power", 0},
    {"About Halcyra", IDC_ABOUT_PICICON, kPicture, L"Halcyra", 0},
    {"About Halcyra", IDC_ABOUT_CMDOK, kButton, L"OK", kDefault},
    {"About Halcyra", IDC_ABOUT_EMAIL, kLink, L"E-mail Quorvix Software", kLinked},
    {"About Halcyra", IDC_ABOUT_WEBSITE, kLink, L"Quorvix Software Web Site", kLinked},
    {"About Halcyra", IDC_ABOUT_UPDATE, kLink, L"Check For Updates", kLinked},
    {"Halcyra Updates", IDC_UPDATE_VERSION, ROLE_SYSTEM_STATICTEXT, L"" HALCYRA_VERSION_TEXT, 0},
    {"Halcyra Updates", IDC_UPDATE_CHECK, kButton, L"Check for Updates", 0},
    {"Options", IDOK, kButton, L"OK", kDefault},
    {"Options", IDC_OPTIONS_FRAME, ROLE_SYSTEM_GROUPING, L"Shortcut Settings", 0},
    {"Options", IDC_OPTIONS_COMBO0, ROLE_SYSTEM_COMBOBOX, L"Screen Saver = CTRL + ALT +", 0},
    {"Schedule", IDC_SCH_ACTION, ROLE_SYSTEM_COMBOBOX, L"Action:", 0},
    {"Schedule", IDC_SCH_IN, kRadio, L"In", 0},
    {"Schedule", IDC_SCH_AT, kRadio, L"At", kChecked},
    {"Schedule", IDC_SCH_IN_MINUTES, kField, L"In minutes (1 to 1440)", 0},
    {"Schedule", IDC_SCH_AT_TIME, kField, L"At HH:MM, local time", 0},
    {"Schedule", IDC_SCH_IDLE_MINUTES, kField, L"After minutes without keyboard or mouse input", 0},
    {"Schedule", IDC_SCH_ENDS, kRadio, L"When a program ends", 0},
    {"Schedule", IDC_SCH_LIST, ROLE_SYSTEM_LIST, L"Running programs", 0},
    {"Schedule", IDC_SCH_PROGRAM, kField, L"File name of the program", 0},
    {"Schedule", IDC_SCH_KEEP_AWAKE, ROLE_SYSTEM_CHECKBUTTON, L"Keep the computer awake until then",
     kChecked},
    {"Schedule", IDC_SCH_WHEN, ROLE_SYSTEM_STATICTEXT, L"Shutdown today 23:30", 0},
    {"Schedule", IDOK, kButton, L"OK", kDefault},
    {kWarning, IDC_WARN_TEXT, ROLE_SYSTEM_STATICTEXT, L"Shutdown in 1:00", 0},
    {kWarning, IDC_WARN_NOW, kButton, L"Do it now", 0},
    {kWarning, IDC_WARN_POSTPONE, kButton, L"Postpone 10 minutes", 0},
    {kWarning, IDCANCEL, kButton, L"Cancel", 0}, // no default: no key press ends it unseen
    {"Keep awake", IDC_AWK_WHILE, kRadio, L"While a program runs", 0},
    {"Keep awake", IDC_AWK_MINUTES, kField, L"Minutes (1 to 1440)", 0},
    {"Keep awake", IDC_AWK_LIST, ROLE_SYSTEM_LIST, L"Running programs", 0},
    {"Keep awake", IDC_AWK_DISPLAY, ROLE_SYSTEM_CHECKBUTTON, L"Keep the screen on too", 0},
    {"Keep awake", IDOK, kButton, L"OK", kDefault},
};

struct Heard {
    std::wstring name;
    LONG role = 0, state = 0;
};

Heard Hear(HWND control) {
    Heard heard;
    IAccessible* object = nullptr;
    ::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
    if (!object) {
        return heard;
    }
    VARIANT self{}, role{}, state{};
    self.vt = VT_I4; // CHILDID_SELF, 0: the control itself
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK) {
        heard.name = name;
        ::SysFreeString(name);
    }
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    heard.role = role.vt == VT_I4 ? role.lVal : 0;
    heard.state = state.vt == VT_I4 ? state.lVal : 0;
    object->Release();
    return heard;
}

// Runs check on this thread inside the modal loop of the dialog that open shows, then closes it.
std::function<void()> whileOpen;
void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    whileOpen();
}

TEST(MainWindowAccessibility, TheControlsOfEveryWindowTellTheirNameRoleAndState) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RealWindow w;
    ASSERT_TRUE(w.created);
    ::CheckDlgButton(w.Hwnd(), ID_CHECK1, BST_UNCHECKED);
    ::CheckDlgButton(w.Hwnd(), ID_CHECKREQUEST, BST_CHECKED);
    auto hearAll = [](const std::string& title, HWND window) {
        for (const AccessibleRow& row : kAccessibleRows) {
            if (title != row.window) {
                continue;
            }
            const Heard heard = Hear(::GetDlgItem(window, row.id));
            EXPECT_EQ(heard.name, row.name) << title << " " << row.id;
            EXPECT_EQ(heard.role, row.role) << title << " " << row.id;
            EXPECT_EQ(heard.state & (kChecked | kLinked | kDefault), row.state)
                << title << " " << row.id;
        }
    };
    hearAll("Halcyra", w.Hwnd());
    win32::Win32ScheduleView& scheduleView = w.scheduleView;
    ASSERT_TRUE(scheduleView.ShowWarning("Shutdown in 1:00", false));
    hearAll(kWarning, scheduleView.Warning());
    ScheduleChoice choice{MenuEntry::Shutdown, ScheduleKind::At, 60, 23, 30, 30};
    const SchedulePreview preview = [](const ScheduleRequest&) { return "today 23:30"; };
    const std::pair<std::string, std::function<void()>> dialogs[] = {
        {"About Halcyra", [&] { win32::ShowAboutDialog(w.Hwnd()); }},
        {"Halcyra Updates", [&] { win32::ShowUpdateDialog(w.Hwnd()); }},
        {"Options", [&] { win32::ShowOptionsDialog(w.Hwnd(), w.settings, w.hotkeys); }},
        {"Schedule",
         [&] {
             scheduleView.AskSchedule(reinterpret_cast<WindowHandle>(w.Hwnd()), choice, preview);
         }},
        {"Keep awake",
         [&] {
             FakeProcessPort processes;
             win32::AskKeepAwake(w.Hwnd(), w.settings, processes,
                                 [](int, int) { return std::string(); });
         }},
    };
    for (const auto& [title, open] : dialogs) {
        bool heard = false;
        whileOpen = [&] {
            HWND dialog = ::FindWindowA("#32770", title.c_str());
            hearAll(title, dialog);
            heard = dialog != nullptr;
            ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        };
        ::SetTimer(nullptr, 0, 100, RunWhileOpen);
        open();
        EXPECT_TRUE(heard) << title;
    }
    ::CoUninitialize();
}

// Armed: the cancel entry under "Sch&edule..." (the tray popup is the same menu), the status row
// in a window one row taller, and a fresh minute when the clock or a wake puts the deadline
// behind. The clock is the fake one: the real one cannot be moved here.
TEST(MainWindowSchedule, ArmedShowsEverywhereAndAPassedDeadlineWarnsAfresh) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    test::FakeClock& clock = w.clock;
    test::FakeTimerPlatform& timerPlatform = w.timerPlatform;
    win32::Win32ScheduleView& view = w.scheduleView;
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
    EXPECT_EQ(Caption(actions, 4), "Keep a&wake...");
    EXPECT_EQ(w.form.SysIcon()->TipText(), product::kNameAndVersion);
    RECT after{};
    ::GetClientRect(w.Hwnd(), &after);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(timerPlatform.running.empty());
}

// A program picked from the dialog's list: the choice stored, no warning until its last process
// ends; opened again once it has ended, the same choice is refused by name.
TEST(MainWindowSchedule, AProgramPickedInTheDialogIsAwaitedAndItsEndWarns) {
    RealWindow w;
    ASSERT_TRUE(w.created);
    w.processes.windows = {{"Render - Blender", "blender.exe", 77}};
    w.processes.running = {{77, "blender.exe"}, {78, "blender.exe"}};
    std::string preview;
    whileOpen = [&] {
        HWND dialog = ::FindWindowA("#32770", "Schedule");
        HWND list = ::GetDlgItem(dialog, IDC_SCH_LIST);
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SCH_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(Text(dialog, IDC_SCH_PROGRAM), "blender.exe");
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SCH_ENDS), BST_CHECKED);
        preview = Text(dialog, IDC_SCH_WHEN);
        ::SendDlgItemMessageA(dialog, IDC_SCH_KEEP_AWAKE, BM_CLICK, 0, 0);
        ::SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    };
    ::SetTimer(nullptr, 0, 100, RunWhileOpen);
    w.form.Schedule().OpenDialog();
    EXPECT_EQ(preview, "Shutdown when blender.exe ends (2 processes)");
    EXPECT_EQ(w.settings.values["ScheduleProgram"], "blender.exe");
    EXPECT_EQ(w.settings.values["ScheduleKeepsAwake"], "0");
    HMENU actions = ::GetSubMenu(::GetMenu(w.Hwnd()), 0);
    EXPECT_EQ(Caption(actions, 4), "Ca&ncel scheduled Shutdown (when blender.exe ends)");
    EXPECT_EQ(Text(w.Hwnd(), ID_SCHEDULESTATUS), "Shutdown when blender.exe ends");
    EXPECT_EQ(w.form.SysIcon()->TipText(), "Halcyra - Shutdown when blender.exe ends");
    EXPECT_TRUE(w.timerPlatform.running.empty()); // nothing polls while it waits

    w.processes.End(77);
    EXPECT_EQ(w.scheduleView.Warning(), nullptr);
    w.processes.End(78);
    ASSERT_NE(w.scheduleView.Warning(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(w.scheduleView.Warning()));
    EXPECT_EQ(Text(w.scheduleView.Warning(), IDC_WARN_TEXT), "Shutdown in 1:00");
    ::SendMessageA(w.Hwnd(), WM_COMMAND, ID_SCHEDULECANCEL, 0);

    whileOpen = [] {
        ::SendDlgItemMessageA(::FindWindowA("#32770", "Schedule"), IDOK, BM_CLICK, 0, 0);
    };
    ::SetTimer(nullptr, 0, 100, RunWhileOpen);
    w.form.Schedule().OpenDialog();
    ASSERT_EQ(Boxes(w.log).size(), 1U);
    EXPECT_NE(Boxes(w.log)[0].find(", blender.exe is not running., Halcyra, Exclamation"),
              std::string::npos);
    EXPECT_EQ(Text(w.Hwnd(), ID_SCHEDULESTATUS), "");
}

} // namespace
} // namespace halcyra::test
