// The Keep awake dialog on the real system, driven from a second thread with the keyboard
// alone while this thread runs its modal loop; and the tray's second picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "awake/win32/AwakeTrayPicture.h"
#include "awake/win32/KeepAwakeDialog.h"
#include "awake/win32/KeepAwakeResources.h"
#include "common/ClockText.h"
#include "common/win32/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/SettingsFakes.h"
#include "watch/win32/Win32ProcessPort.h"

namespace halcyra::test {
namespace {

// The owner counts marks posted behind the keys: a mark counted, the keys before it are handled.
std::atomic<int> marks{0};
LRESULT CALLBACK CountMarks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    marks += msg == WM_APP ? 1 : 0;
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Keys as the keyboard sends them: to the control with the focus, through the dialog's loop.
struct Keys {
    HWND dialog;
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus;
    }
    void Send(UINT msg, const std::string& keys) const {
        for (const char key : keys) {
            ::PostMessageA(Focus(), msg, static_cast<WPARAM>(key), msg == WM_SYSCHAR ? 1 << 29 : 1);
        }
        const int before = marks;
        ::PostMessageA(::GetWindow(dialog, GW_OWNER), WM_APP, 0, 0);
        WaitUntil([&] { return marks > before || !::IsWindowVisible(dialog); }); // Enter, Escape
    }
    bool Focused(int id) const { return Focus() == ::GetDlgItem(dialog, id); }
    std::string Line() const { return ItemText(dialog, IDC_AWK_WHEN); }
};

struct KeepAwakeDialog : ::testing::Test {
    Log log;
    FakeSettingsStore settings{log};
    win32::Win32ProcessPort port;
    HWND owner = nullptr;

    void SetUp() override {
        WNDCLASSA counting{};
        counting.lpfnWndProc = CountMarks;
        counting.hInstance = ::GetModuleHandleA(nullptr);
        counting.lpszClassName = "HalcyraAwakeTestOwner";
        ::RegisterClassA(&counting); // the second test finds it registered
        owner = ::CreateWindowExA(0, counting.lpszClassName, "Keep awake owner",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 120, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner); }

    std::optional<AwakeRequest> Ask(const std::function<void(const Keys&)>& drive) {
        std::thread driver([&] {
            const Keys keys{FindVisibleDialog("Keep awake")};
            ASSERT_TRUE(keys.dialog);
            EXPECT_EQ(::GetWindow(keys.dialog, GW_OWNER), owner);
            drive(keys);
            if (!WaitGone(keys.dialog, 3000)) {
                ADD_FAILURE() << "still open";
                ::PostMessageA(keys.dialog, WM_CLOSE, 0, 0);
            }
        });
        const auto answer = win32::AskKeepAwake(owner, settings, port, [](int h, int m) {
            return "today " + clockText::ClockText(h, m);
        });
        driver.join();
        return answer;
    }
};

TEST_F(KeepAwakeDialog, KeysAlonePickAProgramAndTheScreenAndEnterStartsIt) {
    constexpr char kTitle[] = "Halcyra awake test render";
    std::string line = "\"" + WindowsPath(HALCYRA_WATCHED_PROGRAM) + "\" " + kTitle;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION watched{};
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &watched));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(::FindWindowA(nullptr, kTitle)); }));
    const auto answer = Ask([&](const Keys& keys) {
        HWND list = ::GetDlgItem(keys.dialog, IDC_AWK_LIST);
        const std::string want = kTitle + std::string(" (HalcyraWatched.exe)");
        const auto at = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(want.c_str()));
        ASSERT_NE(at, LB_ERR);
        EXPECT_EQ(::SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>("Keep awake owner")),
                  LB_ERR)
            << "this program's own windows are not offered";
        EXPECT_TRUE(keys.Focused(IDC_AWK_OFF));
        EXPECT_EQ(keys.Line(), "Kept awake until turned off");
        keys.Send(WM_SYSCHAR, "r");
        keys.Send(WM_KEYDOWN, std::string(1, VK_HOME) + std::string(at, VK_DOWN));
        EXPECT_EQ(ItemText(keys.dialog, IDC_AWK_PROGRAM), "HalcyraWatched.exe");
        EXPECT_TRUE(::IsDlgButtonChecked(keys.dialog, IDC_AWK_WHILE)) << "picking chooses the way";
        keys.Send(WM_KEYDOWN, "\t\t");
        EXPECT_TRUE(keys.Focused(IDC_AWK_DISPLAY));
        keys.Send(WM_SYSCHAR, "s");
        EXPECT_EQ(keys.Line(), "Kept awake while HalcyraWatched.exe runs and the screen on");
        keys.Send(WM_KEYDOWN, "\r");
    });
    ::TerminateProcess(watched.hProcess, 0);
    ::CloseHandle(watched.hProcess);
    ::CloseHandle(watched.hThread);
    EXPECT_EQ(answer, (AwakeRequest{AwakeKind::While, 0, 0, 0, "HalcyraWatched.exe", true}));
    EXPECT_EQ(settings.values["KeepAwakeWhen"], "While");
    EXPECT_EQ(settings.values["KeepAwakeDisplay"], "1");
}

TEST_F(KeepAwakeDialog, OpensWithTheLastChoiceKeepsAnOddValueOpenAndEscapeChangesNothing) {
    settings.values = {{"KeepAwakeWhen", "Until"}, {"KeepAwakeUntil", "02:00"}};
    const auto answer = Ask([](const Keys& keys) {
        EXPECT_TRUE(keys.Focused(IDC_AWK_UNTIL));
        EXPECT_EQ(keys.Line(), "Kept awake until today 02:00");
        keys.Send(WM_SYSCHAR, "f");
        keys.Send(WM_KEYDOWN, "\t"); // out of the group, into its first value
        ASSERT_TRUE(keys.Focused(IDC_AWK_MINUTES));
        keys.Send(WM_CHAR, "1441");
        keys.Send(WM_KEYDOWN, "\r");
        EXPECT_EQ(keys.Line(), "Enter 1 to 1440 minutes."); // still open, the field focused
        EXPECT_TRUE(keys.Focused(IDC_AWK_MINUTES));
        keys.Send(WM_KEYDOWN, "\x1b");
    });
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_EQ(settings.values.size(), 2U) << "nothing remembered";
}

TEST(KeepAwakeTrayPicture, MarksTheTrayPictureAtEveryTraySize) {
    for (const int size : {16, 20, 24, 32}) {
        HICON base = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(IDI_HALCYRA_TRAY), IMAGE_ICON,
                                                     size, size, 0));
        ASSERT_TRUE(base) << size;
        HICON marked = win32::WithAwakeMark(base);
        ASSERT_TRUE(marked) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(marked, &info)) << size;
        BITMAP mask{};
        ::GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        // The corner is transparent on the tray picture and the mark's on the marked one.
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, info.hbmColor);
        const COLORREF corner = ::GetPixel(dc, size - size / 4, size / 8);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        EXPECT_EQ(corner, RGB(255, 210, 0)) << size;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(marked);
        ::DestroyIcon(base);
    }
}

} // namespace
} // namespace halcyra::test
