// The two dialogs in this process, under Wine: this thread shows them modally, as the tray
// program does, while a second thread looks at them and presses their controls.
#include <windows.h>
#include <commctrl.h>

#include "common/Product.h"
#include "common/win32/HighContrast.h"
#include "common/win32/ResourceIds.h"
#include "dialogs/MakerAddresses.h"
#include "dialogs/win32/DialogIds.h"
#include "dialogs/win32/Dialogs.h"
#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

namespace halcyra::test {
namespace {

using win32::ShowAboutDialog;
using win32::ShowUpdateDialog;

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
const char* const kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char cls[16] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
        ::IsWindowEnabled(window) && lstrcmpA(cls, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Every dialog and box of this process that is still up, so a failed check cannot leave
// the modal loop of the main thread waiting for ever.
void CloseLeftovers() {
    for (int round = 0; round < 50; ++round) {
        HWND open = nullptr;
        ::EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&open));
        if (!open) {
            return;
        }
        ::PostMessageA(open, WM_CLOSE, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

class DialogsWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { browser_ = new BrowserLog(HALCYRA_BROWSER_STUB); }
    static void TearDownTestSuite() { delete browser_; }

    void SetUp() override {
        owner_ = ::CreateWindowExA(0, "STATIC", "Dialog owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   20, 20, 300, 120, nullptr, nullptr, nullptr, nullptr);
        browser_->Clear();
        // Park the real pointer away from the dialogs: a real move over a dialog's background
        // would turn its links blue in the middle of a test.
        ::SetCursorPos(1010, 740);
        DeleteValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH");
        DeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO");
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    // Shows a dialog here while drive runs on a second thread; returns when it has closed.
    void WithDialog(void (*show)(HWND), const std::function<void()>& drive) {
        bool returned = false;
        std::thread driver([&] {
            drive();
            CloseLeftovers();
        });
        show(owner_);
        returned = true;
        driver.join();
        EXPECT_TRUE(returned);
    }

    // Shows About, or Updates, and hands the dialog, once it is up, to drive.
    void WithAbout(const std::function<void(HWND)>& drive) {
        WithDialog(ShowAboutDialog, [&] {
            HWND about = FindVisibleDialog("About Halcyra");
            ASSERT_TRUE(about);
            drive(about);
        });
    }
    void WithUpdate(const std::function<void(HWND)>& drive) {
        WithDialog(ShowUpdateDialog, [&] {
            HWND update = FindVisibleDialog("Halcyra Updates");
            ASSERT_TRUE(update);
            drive(update);
        });
    }

    static COLORREF LinkColour(HWND dialog, int id) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
        const COLORREF colour = ::GetTextColor(dc);
        ::DeleteDC(dc);
        return colour;
    }

    static LOGFONTA FontOf(HWND control) {
        LOGFONTA font{};
        auto handle = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        ::GetObjectA(handle, sizeof font, &font);
        return font;
    }

    // Sends the dialog to a screen of 144 dots per inch and waits for the fonts it makes itself
    // to be made again at that density.
    struct FontAt144 {
        int id;
        LONG height;
        bool underlined;
    };
    static void ExpectFontsFollowTheDensity(HWND dialog, std::initializer_list<FontAt144> fonts) {
        RECT frame{};
        ::GetWindowRect(dialog, &frame);
        ::SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144),
                       reinterpret_cast<LPARAM>(&frame));
        for (const FontAt144& f : fonts) {
            HWND control = ::GetDlgItem(dialog, f.id);
            EXPECT_TRUE(WaitUntil([&] { return FontOf(control).lfHeight == f.height; }))
                << f.id << ": " << FontOf(control).lfHeight;
            EXPECT_STREQ(FontOf(control).lfFaceName, "Tahoma") << f.id;
            EXPECT_EQ(FontOf(control).lfUnderline != 0, f.underlined) << f.id;
        }
    }

    static HWND FocusOf(HWND dialog) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus;
    }

    static void PressKey(HWND dialog, WPARAM key) {
        HWND focus = FocusOf(dialog);
        ::PostMessageA(focus, WM_KEYDOWN, key, 1);
        ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    }

    static BrowserLog* browser_;
    HWND owner_ = nullptr;
};

BrowserLog* DialogsWindow::browser_ = nullptr;

TEST_F(DialogsWindow, AboutShowsItsTextsFontsAndPictures) {
    WithAbout([&](HWND about) {
        EXPECT_EQ(::GetWindow(about, GW_OWNER), owner_);
        EXPECT_FALSE(::IsWindowEnabled(owner_)) << "modal over its owner";
        EXPECT_EQ(ItemText(about, IDC_ABOUT_TITLE), "Halcyra");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_VERSION), "Version " + std::string(product::kVersion));
        EXPECT_EQ(ItemText(about, IDC_ABOUT_DESCRIPTION),
                  "Provides a convenient way to control your computer's power options.");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_CMDOK), "OK");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_SYSINFO), "&System Info...");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_EMAIL), "E-mail Quorvix Software");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_WEBSITE), "Quorvix Software Web Site");
        EXPECT_EQ(ItemText(about, IDC_ABOUT_UPDATE), "Check For Updates");

        for (int id : {IDC_ABOUT_TITLE, IDC_ABOUT_CMDOK, IDC_ABOUT_EMAIL, IDC_ABOUT_UPDATE}) {
            const LOGFONTA font = FontOf(::GetDlgItem(about, id));
            EXPECT_STREQ(font.lfFaceName, "Tahoma") << id;
            EXPECT_EQ(font.lfHeight, -11) << id; // 8.25 points at 96 dots per inch
            EXPECT_EQ(font.lfWeight, FW_NORMAL) << id;
            EXPECT_EQ(font.lfUnderline != 0, id == IDC_ABOUT_EMAIL || id == IDC_ABOUT_UPDATE) << id;
        }
        for (int id : {IDC_ABOUT_EMAIL, IDC_ABOUT_WEBSITE, IDC_ABOUT_UPDATE}) {
            EXPECT_EQ(LinkColour(about, id), kBlue) << id;
        }
        EXPECT_EQ(LinkColour(about, IDC_ABOUT_DESCRIPTION), 0u);
        // Moved to a screen of 144 dots per inch: the links' font is made again at that size,
        // and each label still fits its words.
        RECT link{};
        ::GetWindowRect(::GetDlgItem(about, IDC_ABOUT_EMAIL), &link);
        const LONG width = link.right - link.left;
        ExpectFontsFollowTheDensity(about, {{IDC_ABOUT_EMAIL, ::MulDiv(-11, 144, 96), true},
                                            {IDC_ABOUT_UPDATE, ::MulDiv(-11, 144, 96), true}});
        ::GetWindowRect(::GetDlgItem(about, IDC_ABOUT_EMAIL), &link);
        EXPECT_GT(link.right - link.left, width * 5 / 4) << "measured at the new size";
        EXPECT_TRUE(::SendDlgItemMessageA(about, IDC_ABOUT_PICICON, STM_GETICON, 0, 0));
        EXPECT_TRUE(::SendDlgItemMessageA(about, IDC_ABOUT_PICTURE1, STM_GETICON, 0, 0));
        EXPECT_NE(::SendDlgItemMessageA(about, IDC_ABOUT_PICICON, STM_GETICON, 0, 0),
                  ::SendDlgItemMessageA(about, IDC_ABOUT_PICTURE1, STM_GETICON, 0, 0));
        EXPECT_EQ(LOWORD(::SendMessageA(about, DM_GETDEFID, 0, 0)), IDC_ABOUT_CMDOK);
        EXPECT_EQ(FocusOf(about), ::GetDlgItem(about, IDC_ABOUT_CMDOK));
    });
}

TEST_F(DialogsWindow, AboutTooltipsNameTheAddressesAndTheUpdateLinkHasNone) {
    WithAbout([&](HWND about) {
        HWND tips = nullptr;
        for (HWND w = ::FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); w;
             w = ::FindWindowExA(nullptr, w, "tooltips_class32", nullptr)) {
            if (::GetWindow(w, GW_OWNER) == about) {
                tips = w;
            }
        }
        ASSERT_TRUE(tips);
        auto tipOf = [&](int id) {
            char text[256] = {};
            TOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.hwnd = about;
            tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(about, id));
            tool.lpszText = text;
            ::SendMessageA(tips, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
            return std::string(text);
        };
        EXPECT_EQ(::SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
        EXPECT_EQ(tipOf(IDC_ABOUT_EMAIL), dialogs::kMakerMail);
        EXPECT_EQ(tipOf(IDC_ABOUT_WEBSITE), dialogs::kMakerWebSite);
        EXPECT_EQ(tipOf(IDC_ABOUT_UPDATE), "");
    });
}

enum Over { Mail, Web, Upd, Description, Title, Picture, OkButton, Background };

struct HoverRow {
    std::vector<Over> moves;
    COLORREF mail, web, update;
};

TEST_F(DialogsWindow, AboutLinksFollowThePointerOverTheirControls) {
    const std::vector<HoverRow> rows = {
        {{Mail}, kRed, kBlue, kBlue},
        {{Mail, Description}, kRed, kBlue, kBlue},
        {{Web, Picture, Title, OkButton}, kBlue, kRed, kBlue},
        {{Mail, Web, Upd}, kRed, kRed, kRed},
        {{Mail, Web, Upd, Background}, kBlue, kBlue, kBlue},
        {{Upd, Background, Mail}, kRed, kBlue, kBlue},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        WithAbout([&](HWND about) {
            const int ids[] = {IDC_ABOUT_EMAIL,       IDC_ABOUT_WEBSITE, IDC_ABOUT_UPDATE,
                               IDC_ABOUT_DESCRIPTION, IDC_ABOUT_TITLE,   IDC_ABOUT_PICTURE1,
                               IDC_ABOUT_CMDOK};
            for (Over over : rows[i].moves) {
                HWND target = over == Background ? about : ::GetDlgItem(about, ids[over]);
                ::SendMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            }
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_EMAIL), rows[i].mail) << "row " << i;
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_WEBSITE), rows[i].web) << "row " << i;
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_UPDATE), rows[i].update) << "row " << i;
        });
    }
}

TEST_F(DialogsWindow, AboutRealPointerTurnsALinkRedUntilItCrossesTheBackground) {
    WithAbout([&](HWND about) {
        ::SetForegroundWindow(about);
        auto centre = [&](int id) {
            RECT r{};
            ::GetWindowRect(::GetDlgItem(about, id), &r);
            return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        };
        auto moveTo = [&](POINT p) {
            ::SetCursorPos(p.x - 1, p.y);
            ::SetCursorPos(p.x, p.y);
        };
        moveTo(centre(IDC_ABOUT_WEBSITE));
        EXPECT_TRUE(WaitUntil([&] { return LinkColour(about, IDC_ABOUT_WEBSITE) == kRed; }, 3000));
        moveTo(centre(IDC_ABOUT_DESCRIPTION));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(LinkColour(about, IDC_ABOUT_WEBSITE), kRed) << "a plain label changes nothing";
        // Just right of the links, left of the buttons: the dialog's own background.
        RECT link{};
        ::GetWindowRect(::GetDlgItem(about, IDC_ABOUT_WEBSITE), &link);
        moveTo(POINT{link.right + 20, (link.top + link.bottom) / 2});
        EXPECT_TRUE(WaitUntil([&] { return LinkColour(about, IDC_ABOUT_WEBSITE) == kBlue; }, 3000));
    });
}

TEST_F(DialogsWindow, AboutShowsTheHandOverLinksOnly) {
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_POINTER));
    ASSERT_TRUE(hand);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 13u);
    EXPECT_EQ(info.yHotspot, 5u);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) {
        ::DeleteObject(info.hbmColor);
    }
    WithAbout([&](HWND about) {
        for (int id : {IDC_ABOUT_EMAIL, IDC_ABOUT_WEBSITE, IDC_ABOUT_UPDATE, IDC_ABOUT_TITLE,
                       IDC_ABOUT_CMDOK}) {
            HWND control = ::GetDlgItem(about, id);
            const LRESULT taken =
                ::SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const bool link =
                id == IDC_ABOUT_EMAIL || id == IDC_ABOUT_WEBSITE || id == IDC_ABOUT_UPDATE;
            EXPECT_EQ(taken != 0, link) << id;
        }
    });
}

TEST_F(DialogsWindow, AboutClosesWithOkEnterEscapeAndTheCloseBox) {
    const std::vector<std::function<void(HWND)>> ways = {
        [](HWND about) { ::SendMessageA(::GetDlgItem(about, IDC_ABOUT_CMDOK), BM_CLICK, 0, 0); },
        [](HWND about) { PressKey(about, VK_RETURN); },
        [](HWND about) { PressKey(about, VK_ESCAPE); },
        [](HWND about) { ::PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        WithAbout([&](HWND about) {
            ways[i](about);
            EXPECT_TRUE(WaitGone(about, 3000)) << "way " << i;
        });
        EXPECT_TRUE(::IsWindowEnabled(owner_));
    }
}

TEST_F(DialogsWindow, AboutEnterOnAFocusedLinkOpensItNotOk) {
    WithDialog(ShowAboutDialog, [&] {
        HWND about = FindVisibleDialog("About Halcyra");
        ASSERT_TRUE(about);
        HWND link = ::GetDlgItem(about, IDC_ABOUT_WEBSITE);
        ::PostMessageA(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == link; }));
        PressKey(about, VK_RETURN);
        EXPECT_EQ(browser_->WaitForLines(1),
                  (std::vector<std::string>{std::string(dialogs::kMakerWebSite)}));
        EXPECT_TRUE(::IsWindowVisible(about));
    });
}

bool contrastOn = false;

TEST_F(DialogsWindow, AboutColoursFollowAHighContrastThemeSwitchedWhileOpen) {
    win32::highContrastProbe = [] { return contrastOn; };
    WithDialog(ShowAboutDialog, [&] {
        HWND about = FindVisibleDialog("About Halcyra");
        ASSERT_TRUE(about);
        ::SendDlgItemMessageA(about, IDC_ABOUT_UPDATE, WM_MOUSEMOVE, 0, 0); // under the pointer
        for (const bool on : {true, false}) {
            contrastOn = on;
            ::SendMessageA(about, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_EMAIL),
                      on ? ::GetSysColor(COLOR_HOTLIGHT) : kBlue);
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_UPDATE),
                      on ? ::GetSysColor(COLOR_WINDOWTEXT) : kRed);
            EXPECT_EQ(LinkColour(about, IDC_ABOUT_TITLE), on ? ::GetSysColor(COLOR_WINDOWTEXT) : 0);
        }
    });
    win32::highContrastProbe = win32::SystemHighContrast;
}

TEST_F(DialogsWindow, AboutEnterOnSystemInfoPressesSystemInfoNotOk) {
    WithAbout([&](HWND about) {
        ::PostMessageA(about, WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(::GetDlgItem(about, IDC_ABOUT_SYSINFO)), TRUE);
        ASSERT_TRUE(
            WaitUntil([&] { return FocusOf(about) == ::GetDlgItem(about, IDC_ABOUT_SYSINFO); }));
        PressKey(about, VK_RETURN);
        MessageBoxSeen box = FindMessageBox("Halcyra");
        ASSERT_TRUE(box.window);
        EXPECT_EQ(box.text, "System Information Is Unavailable At This Time");
        ::SendMessageA(::GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitGone(box.window));
        EXPECT_TRUE(::IsWindowVisible(about)) << "the About dialog stays open";
    });
}

TEST_F(DialogsWindow, AboutIsBuiltAfreshEachTime) {
    WithAbout([&](HWND about) {
        ::SendDlgItemMessageA(about, IDC_ABOUT_EMAIL, WM_MOUSEMOVE, 0, 0);
        EXPECT_EQ(LinkColour(about, IDC_ABOUT_EMAIL), kRed);
        ::SendMessageA(::GetDlgItem(about, IDC_ABOUT_CMDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitGone(about));
    });
    WithAbout([&](HWND about) { EXPECT_EQ(LinkColour(about, IDC_ABOUT_EMAIL), kBlue); });
}

TEST_F(DialogsWindow, UpdateStacksModallyOverAboutAndReturnsToIt) {
    WithAbout([&](HWND about) {
        HWND link = ::GetDlgItem(about, IDC_ABOUT_UPDATE);
        ::SendMessageA(link, WM_MOUSEMOVE, 0, 0);
        ::PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        HWND update = FindVisibleDialog("Halcyra Updates");
        ASSERT_TRUE(update);
        EXPECT_EQ(::GetWindow(update, GW_OWNER), about);
        EXPECT_FALSE(::IsWindowEnabled(about));
        EXPECT_FALSE(::IsWindowEnabled(owner_));
        EXPECT_EQ(LinkColour(about, IDC_ABOUT_UPDATE), kBlue) << "blue before the dialog opened";
        ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CLOSE), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitGone(update));
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }));
        EXPECT_TRUE(::IsWindowVisible(about));
        EXPECT_FALSE(::IsWindowEnabled(owner_)) << "About is still modal over the owner";
    });
}

TEST_F(DialogsWindow, UpdateShowsItsTextsAndVersionFont) {
    WithUpdate([&](HWND update) {
        EXPECT_EQ(::GetWindow(update, GW_OWNER), owner_);
        EXPECT_EQ(ItemText(update, IDC_UPDATE_VERSION), product::kVersion);
        EXPECT_EQ(ItemText(update, IDC_UPDATE_LABEL1), "You are using Halcyra Version:");
        EXPECT_EQ(ItemText(update, IDC_UPDATE_CHECK), "Check for &Updates");
        EXPECT_EQ(ItemText(update, IDC_UPDATE_LABEL2), "(Launches web browser)");
        EXPECT_EQ(ItemText(update, IDC_UPDATE_CLOSE), "&Close");
        const LOGFONTA big = FontOf(::GetDlgItem(update, IDC_UPDATE_VERSION));
        EXPECT_STREQ(big.lfFaceName, "Tahoma");
        EXPECT_EQ(big.lfHeight, -24); // 18 points at 96 dots per inch
        EXPECT_EQ(FontOf(::GetDlgItem(update, IDC_UPDATE_LABEL1)).lfHeight, -11);
        ExpectFontsFollowTheDensity(update, {{IDC_UPDATE_VERSION, -36, false}});
        // The version sits at the top right, the note under the check button.
        RECT client{}, version{}, check{}, note{};
        ::GetClientRect(update, &client);
        ::MapWindowPoints(update, nullptr, reinterpret_cast<POINT*>(&client), 2);
        ::GetWindowRect(::GetDlgItem(update, IDC_UPDATE_VERSION), &version);
        ::GetWindowRect(::GetDlgItem(update, IDC_UPDATE_CHECK), &check);
        ::GetWindowRect(::GetDlgItem(update, IDC_UPDATE_LABEL2), &note);
        EXPECT_GT(version.left, (client.left + client.right) / 2);
        EXPECT_LT(version.top - client.top, 20);
        EXPECT_GE(note.top, check.bottom);
    });
}

TEST_F(DialogsWindow, UpdateIgnoresEnterAndEscapeAndClosesWithItsButtonOrCloseBox) {
    for (int way = 0; way < 2; ++way) {
        WithUpdate([&](HWND update) {
            for (int id : {IDC_UPDATE_CLOSE, IDC_UPDATE_CHECK}) {
                ::PostMessageA(update, WM_NEXTDLGCTL,
                               reinterpret_cast<WPARAM>(::GetDlgItem(update, id)), TRUE);
                ASSERT_TRUE(WaitUntil([&] { return FocusOf(update) == ::GetDlgItem(update, id); }));
                PressKey(update, VK_RETURN);
                PressKey(update, VK_ESCAPE);
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                ASSERT_TRUE(::IsWindowVisible(update)) << "Enter and Escape press nothing: " << id;
            }
            if (way == 0) {
                ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CLOSE), BM_CLICK, 0, 0);
            } else {
                ::PostMessageA(update, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            EXPECT_TRUE(WaitGone(update, 3000)) << "way " << way;
        });
    }
    EXPECT_TRUE(browser_->WaitForLines(0).empty()) << "Enter on the check button opened the page";
}

struct SysInfoSetup {
    const char* name;
    bool firstValue;   // PATH names the fake program
    bool secondValue;  // MSINFO names a folder
    bool fileInFolder; // that folder holds MSINFO32.EXE
    bool started;
};

TEST_F(DialogsWindow, SystemInfoStartsTheProgramOrSaysItIsUnavailable) {
    const std::string fake = WindowsPath(HALCYRA_FAKE_SYSINFO);
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "HalcyraMsinfo";
    const std::string inFolder = folder + "\\MSINFO32.EXE";
    const SysInfoSetup rows[] = {
        {"first value", true, false, false, true},
        {"second value with the file", false, true, true, true},
        {"second value without the file", false, true, false, false},
        {"neither value", false, false, false, false},
    };
    for (const SysInfoSetup& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH");
        DeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO");
        ::DeleteFileA((fake + ".started").c_str());
        ::DeleteFileA((inFolder + ".started").c_str());
        ::DeleteFileA(inFolder.c_str());
        ::CreateDirectoryA(folder.c_str(), nullptr);
        if (row.firstValue) {
            SetStringValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH", fake);
        }
        if (row.secondValue) {
            SetStringValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO", folder);
        }
        if (row.fileInFolder) {
            ASSERT_TRUE(::CopyFileA(fake.c_str(), inFolder.c_str(), FALSE));
        }
        const std::string marker = (row.firstValue ? fake : inFolder) + ".started";
        WithAbout([&](HWND about) {
            ::PostMessageA(::GetDlgItem(about, IDC_ABOUT_SYSINFO), BM_CLICK, 0, 0);
            if (row.started) {
                EXPECT_TRUE(WaitUntil([&] {
                    return ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
                }));
                std::ifstream in(marker);
                std::string line;
                std::getline(in, line);
                EXPECT_EQ(line.substr(0, 1), "1") << "SW_SHOWNORMAL: " << line;
                EXPECT_FALSE(FindVisibleDialog("Halcyra", 500));
            } else {
                MessageBoxSeen box = FindMessageBox("Halcyra");
                ASSERT_TRUE(box.window);
                EXPECT_EQ(box.text, "System Information Is Unavailable At This Time");
                EXPECT_EQ(box.buttons, (std::vector<std::string>{"OK"}));
                EXPECT_FALSE(box.icon);
                EXPECT_EQ(::GetWindow(box.window, GW_OWNER), about);
                ::SendMessageA(::GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
                EXPECT_TRUE(WaitGone(box.window));
            }
            EXPECT_TRUE(::IsWindowVisible(about)) << "the dialog stays open";
        });
    }
    DeleteValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH");
    DeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO");
}

// A folder named in letters outside the system's code page ("Халцира-ไทย": Cyrillic and Thai,
// in no single code page but UTF-8): both registry values lead to the program there.
TEST_F(DialogsWindow, SystemInfoStartsFromAFolderOutsideTheCodePage) {
    const std::string fake = WindowsPath(HALCYRA_FAKE_SYSINFO);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"\x0425\x0430\x043b\x0446\x0438\x0440\x0430-\x0e44\x0e17\x0e22";
    BOOL outside = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, folder.c_str(), -1, nullptr, 0, nullptr,
                          &outside);
    ASSERT_TRUE(outside) << "code page " << ::GetACP();
    const std::wstring program = folder + L"\\MSINFO32.EXE";
    const std::wstring marker = program + L".started";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(
        ::CopyFileW(std::wstring(fake.begin(), fake.end()).c_str(), program.c_str(), FALSE));
    const auto setWide = [](const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        HKEY opened = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &opened, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(opened);
    };
    for (const bool firstValue : {true, false}) {
        SCOPED_TRACE(firstValue ? "first value" : "second value");
        DeleteValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH");
        DeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO");
        ::DeleteFileW(marker.c_str());
        if (firstValue) {
            setWide(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", program);
        } else {
            setWide(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", folder);
        }
        WithAbout([&](HWND about) {
            ::PostMessageA(::GetDlgItem(about, IDC_ABOUT_SYSINFO), BM_CLICK, 0, 0);
            EXPECT_TRUE(WaitUntil(
                [&] { return ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }));
            EXPECT_FALSE(FindVisibleDialog("Halcyra", 500)) << "System Info said unavailable";
        });
    }
    DeleteValue(HKEY_LOCAL_MACHINE, kInfoKey, "PATH");
    DeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO");
    ::DeleteFileW(marker.c_str());
    ::DeleteFileW(program.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST_F(DialogsWindow, LinksAndCheckButtonHandTheShellExactlyTheirAddresses) {
    WithAbout([&](HWND about) {
        // One at a time: each address goes through its own browser process, in no set order.
        Click(::GetDlgItem(about, IDC_ABOUT_EMAIL));
        browser_->WaitForLines(1);
        Click(::GetDlgItem(about, IDC_ABOUT_WEBSITE));
        EXPECT_EQ(browser_->WaitForLines(2),
                  (std::vector<std::string>{"mailto:" + std::string(dialogs::kMakerMail),
                                            std::string(dialogs::kMakerWebSite)}));
    });
    browser_->Clear();
    WithUpdate([&](HWND update) {
        ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CHECK), BM_CLICK, 0, 0);
        ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CHECK), BM_CLICK, 0, 0);
        const std::string page(dialogs::kProductPage);
        EXPECT_EQ(browser_->WaitForLines(2), (std::vector<std::string>{page, page}));
        EXPECT_TRUE(::IsWindowVisible(update)) << "the dialog never closes by itself";
    });
}

} // namespace
} // namespace halcyra::test
