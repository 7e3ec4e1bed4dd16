// The Keep awake dialog on the real system, driven from a second thread with the keyboard
// alone (mnemonics, Tab, arrows, typing, Enter and Escape) while this thread runs its modal
// loop: what it answers, what it remembers, and the list of the programs that show a window.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "awake/win32/KeepAwakeDialog.h"
#include "awake/win32/KeepAwakeResources.h"
#include "common/win32/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/SettingsFakes.h"
#include "watch/win32/Win32ProcessPort.h"

namespace halcyra::test {
namespace {

constexpr char kTitle[] = "Halcyra awake test render";
constexpr char kLine[] = "Halcyra awake test render (HalcyraWatched.exe)";

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// The owner counts the marks posted behind the keys: one counted, the keys before it are handled.
std::atomic<int> marks{0};
LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        ++marks;
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Each key goes to the control with the focus, as the keyboard would send it.
struct Keys {
    HWND dialog;
    void Settle() const {
        const int before = marks;
        ::PostMessageA(::GetWindow(dialog, GW_OWNER), WM_APP, 0, 0);
        // Enter and Escape end the loop that would count the mark.
        WaitUntil([&] { return marks > before || !::IsWindowVisible(dialog); });
    }
    void Press(WPARAM key) const {
        HWND focus = FocusOf(dialog);
        ::PostMessageA(focus, WM_KEYDOWN, key, 1);
        ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        Settle();
    }
    void Alt(char letter) const {
        ::PostMessageA(FocusOf(dialog), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29);
        Settle();
    }
    void Type(const std::string& text) const {
        for (const char c : text) {
            ::PostMessageA(FocusOf(dialog), WM_CHAR, static_cast<WPARAM>(c), 1);
        }
        Settle();
    }
    bool Focused(int id) const { return FocusOf(dialog) == ::GetDlgItem(dialog, id); }
    std::string Preview() const { return ItemText(dialog, IDC_AWK_WHEN); }
};

class KeepAwakeDialog : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA owner{};
        owner.lpfnWndProc = OwnerProcedure;
        owner.hInstance = ::GetModuleHandleA(nullptr);
        owner.lpszClassName = "HalcyraAwakeTestOwner";
        ::RegisterClassA(&owner); // the second test finds it registered
        owner_ = ::CreateWindowExA(0, owner.lpszClassName, "Keep awake owner",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 120, nullptr,
                                   nullptr, nullptr, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    // Opens the dialog here while drive answers it from a second thread.
    std::optional<AwakeRequest> Ask(const std::function<void(const Keys&)>& drive) {
        std::thread driver([&] {
            HWND dialog = FindVisibleDialog("Keep awake");
            EXPECT_TRUE(dialog);
            if (dialog) {
                EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner_);
                drive(Keys{dialog});
                if (!WaitGone(dialog, 3000)) {
                    ADD_FAILURE() << "still open";
                    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
                }
            }
        });
        const auto answer = win32::AskKeepAwake(owner_, settings_, port_, [](int h, int m) {
            return "today " + awake::ClockText(h, m);
        });
        driver.join();
        return answer;
    }

    Log log_;
    FakeSettingsStore settings_{log_};
    win32::Win32ProcessPort port_;
    HWND owner_ = nullptr;
};

TEST_F(KeepAwakeDialog, KeysAloneChooseAProgramFromTheListAndTheScreenAndOkStartsIt) {
    std::string line = "\"" + WindowsPath(HALCYRA_WATCHED_PROGRAM) + "\" " + kTitle;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION watched{};
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &watched));
    ASSERT_TRUE(WaitUntil([] {
        HWND w = ::FindWindowA(nullptr, kTitle);
        return w && ::IsWindowVisible(w);
    }));
    const auto answer = Ask([](const Keys& keys) {
        HWND list = ::GetDlgItem(keys.dialog, IDC_AWK_LIST);
        const auto at = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(kLine));
        ASSERT_NE(at, LB_ERR) << "the test's window is listed";
        // The owner, a window of this program, is not.
        EXPECT_EQ(::SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>("Keep awake owner")),
                  LB_ERR);
        EXPECT_TRUE(keys.Focused(IDC_AWK_OFF)) << "the last choice, the default, has the focus";
        EXPECT_EQ(keys.Preview(), "Kept awake until turned off");
        keys.Alt('r');
        ASSERT_TRUE(keys.Focused(IDC_AWK_LIST));
        keys.Press(VK_HOME);
        for (int i = 0; i < at; ++i) {
            keys.Press(VK_DOWN);
        }
        EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), at);
        EXPECT_EQ(ItemText(keys.dialog, IDC_AWK_PROGRAM), "HalcyraWatched.exe");
        EXPECT_TRUE(::IsDlgButtonChecked(keys.dialog, IDC_AWK_WHILE)) << "picking chooses the way";
        keys.Press(VK_TAB);
        EXPECT_TRUE(keys.Focused(IDC_AWK_PROGRAM));
        keys.Press(VK_TAB);
        EXPECT_TRUE(keys.Focused(IDC_AWK_DISPLAY));
        keys.Alt('s');
        EXPECT_EQ(keys.Preview(), "Kept awake while HalcyraWatched.exe runs and the screen on");
        keys.Press(VK_RETURN);
    });
    ::TerminateProcess(watched.hProcess, 0);
    ::CloseHandle(watched.hProcess);
    ::CloseHandle(watched.hThread);
    EXPECT_EQ(answer, (AwakeRequest{AwakeKind::While, 0, 0, 0, "HalcyraWatched.exe", true}));
    EXPECT_EQ(settings_.values["KeepAwakeWhen"], "While");
    EXPECT_EQ(settings_.values["KeepAwakeProgram"], "HalcyraWatched.exe");
    EXPECT_EQ(settings_.values["KeepAwakeDisplay"], "1");
}

TEST_F(KeepAwakeDialog, OpensWithTheLastChoiceRefusesAnOddValueAndEscapeChangesNothing) {
    settings_.values = {{"KeepAwakeWhen", "Until"}, {"KeepAwakeUntil", "02:00"}};
    const auto typed = Ask([](const Keys& keys) {
        EXPECT_TRUE(keys.Focused(IDC_AWK_UNTIL));
        EXPECT_EQ(keys.Preview(), "Kept awake until today 02:00");
        keys.Alt('f');
        EXPECT_TRUE(::IsDlgButtonChecked(keys.dialog, IDC_AWK_FOR));
        keys.Press(VK_TAB); // out of the group, into its first value
        ASSERT_TRUE(keys.Focused(IDC_AWK_MINUTES));
        ::SendMessageA(FocusOf(keys.dialog), EM_SETSEL, 0, -1);
        keys.Type("1441");
        keys.Press(VK_RETURN);
        EXPECT_TRUE(::IsWindowVisible(keys.dialog)) << "out of range: stays open";
        EXPECT_EQ(keys.Preview(), "Enter 1 to 1440 minutes.");
        EXPECT_TRUE(keys.Focused(IDC_AWK_MINUTES));
        keys.Type("\b\b\b\b1");
        EXPECT_EQ(keys.Preview(), "Kept awake for 1 minute");
        keys.Press(VK_TAB);
        keys.Type("23:59"); // typing a time chooses "Until"
        EXPECT_TRUE(::IsDlgButtonChecked(keys.dialog, IDC_AWK_UNTIL));
        keys.Press(VK_ESCAPE);
    });
    EXPECT_EQ(typed, std::nullopt);
    for (const std::string& entry : log_) {
        EXPECT_EQ(entry.rfind("save", 0), std::string::npos) << entry;
    }
}

// The tray's second picture loads at every size the tray asks for.
TEST(KeepAwakeTrayPicture, LoadsAtEveryTraySize) {
    for (const int size : {16, 20, 24, 32}) {
        HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(IDI_HALCYRA_TRAY_AWAKE),
                                                     IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP bitmap{};
        ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

} // namespace
} // namespace halcyra::test
