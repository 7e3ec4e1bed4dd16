// The tray icon against the bench's real notification area.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "tray/CSystrayIcon.h"
#include "tray/win32/Win32NotifyIconApi.h"

namespace halcyra::test {
namespace {

// What Wine 8 reports through GetLastError for a refused notify request.
constexpr std::uint32_t kWineNotifyFailure = 0x80004005; // E_FAIL

struct Owner : ISystrayIconEvents {
    std::vector<std::uint32_t> errors;
    void NIError(std::uint32_t ErrorNumber) override { errors.push_back(ErrorNumber); }
};

HWND MakeOwnerWindow() {
    return ::CreateWindowExA(0, "STATIC", "tray owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

class Win32NotifyIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::FindWindowA("Shell_TrayWnd", nullptr), nullptr) << "the bench has no taskbar";
        hwnd = MakeOwnerWindow();
        ASSERT_NE(hwnd, nullptr);
        image = ::LoadIconA(nullptr, IDI_APPLICATION);
    }
    void TearDown() override { ::DestroyWindow(hwnd); }

    void Init(CSystrayIcon& icon, const char* tip = "Halcyra") {
        icon.Initialize(reinterpret_cast<WindowHandle>(hwnd), reinterpret_cast<ImageHandle>(image),
                        tip, WM_MOUSEMOVE);
    }

    win32::Win32NotifyIconApi api;
    Owner owner;
    HWND hwnd = nullptr;
    HICON image = nullptr;
};

TEST_F(Win32NotifyIconTest, AddModifyDeleteAgainstTheNotificationArea) {
    CSystrayIcon icon(api, &owner);
    Init(icon);
    EXPECT_EQ(icon.Record().cbSize, NOTIFYICONDATAA_V1_SIZE);
    ASSERT_TRUE(icon.ShowIcon());
    EXPECT_TRUE(icon.Visible());
    icon.TipText("Halcyra - changed");
    icon.IconHandle(reinterpret_cast<ImageHandle>(::LoadIconA(nullptr, IDI_WARNING)));
    EXPECT_TRUE(icon.Update());
    EXPECT_TRUE(icon.HideIcon());
    EXPECT_FALSE(icon.Visible());
    EXPECT_TRUE(owner.errors.empty());
}

TEST_F(Win32NotifyIconTest, SecondDeleteFailsWithNIError) {
    CSystrayIcon icon(api, &owner);
    Init(icon);
    ASSERT_TRUE(icon.ShowIcon());
    // Someone else removes the icon first; the instance still believes it is shown.
    win32::Win32NotifyIconApi other;
    ASSERT_NE(other.ShellNotifyIcon(INotifyIconApi::kDelete, icon.Record()), 0);
    EXPECT_FALSE(icon.HideIcon());
    EXPECT_TRUE(icon.Visible());
    EXPECT_FALSE(icon.Update());
    EXPECT_EQ(owner.errors, (std::vector<std::uint32_t>{kWineNotifyFailure, kWineNotifyFailure}));
}

TEST_F(Win32NotifyIconTest, DuplicateAddFailsWithNIError) {
    CSystrayIcon first(api, &owner);
    CSystrayIcon second(api, &owner);
    Init(first);
    Init(second);
    ASSERT_TRUE(first.ShowIcon());
    EXPECT_FALSE(second.ShowIcon());
    EXPECT_FALSE(second.Visible());
    EXPECT_EQ(owner.errors, (std::vector<std::uint32_t>{kWineNotifyFailure}));
    EXPECT_TRUE(first.HideIcon());
}

TEST_F(Win32NotifyIconTest, ReinitializeAfterTheTaskbarWentAwayAddsAfresh) {
    CSystrayIcon icon(api, &owner);
    Init(icon);
    ASSERT_TRUE(icon.ShowIcon());
    win32::Win32NotifyIconApi other;
    other.ShellNotifyIcon(INotifyIconApi::kDelete, icon.Record()); // the old taskbar's icon is gone
    Init(icon, "again");
    EXPECT_TRUE(icon.ShowIcon());
    EXPECT_TRUE(owner.errors.empty());
}

TEST_F(Win32NotifyIconTest, DestroyingAShownInstanceRemovesItsIcon) {
    NotifyIconRecord record{};
    {
        CSystrayIcon icon(api, &owner);
        Init(icon);
        ASSERT_TRUE(icon.ShowIcon());
        record = icon.Record();
    }
    win32::Win32NotifyIconApi other;
    EXPECT_EQ(other.ShellNotifyIcon(INotifyIconApi::kDelete, record), 0);
}

// A desktop of a window station of its own has no shell, so no notification area: the add
// request fails and NIError carries the platform's code.
struct NoTrayOutcome {
    bool trayFound = true;
    bool shown = true;
    std::vector<std::uint32_t> errors;
};

DWORD WINAPI ShowWithoutTaskbar(void* param) {
    auto& out = *static_cast<NoTrayOutcome*>(param);
    HDESK desk = ::CreateDesktopA("HalcyraNoTray", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (desk == nullptr || !::SetThreadDesktop(desk)) {
        return 1;
    }
    HWND hwnd = MakeOwnerWindow();
    out.trayFound = ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
    win32::Win32NotifyIconApi api;
    Owner owner;
    {
        CSystrayIcon icon(api, &owner);
        icon.Initialize(reinterpret_cast<WindowHandle>(hwnd), 0, "no tray", WM_MOUSEMOVE);
        icon.ShowIcon();
        out.shown = icon.Visible();
    }
    out.errors = owner.errors;
    ::DestroyWindow(hwnd);
    ::CloseDesktop(desk);
    return 0;
}

TEST(Win32NotifyIconWithoutTaskbar, ShowFailsWithTheSystemErrorCode) {
    NoTrayOutcome outcome;
    HWINSTA original = ::GetProcessWindowStation();
    HWINSTA station = ::CreateWindowStationA("HalcyraNoTray", 0, GENERIC_ALL, nullptr);
    ASSERT_NE(station, nullptr);
    ASSERT_TRUE(::SetProcessWindowStation(station));
    HANDLE thread = ::CreateThread(nullptr, 0, &ShowWithoutTaskbar, &outcome, 0, nullptr);
    ::WaitForSingleObject(thread, 20000);
    DWORD code = 99;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    ::SetProcessWindowStation(original);
    ::CloseWindowStation(station);

    ASSERT_EQ(code, 0u);
    ASSERT_FALSE(outcome.trayFound);
    EXPECT_FALSE(outcome.shown);
    EXPECT_EQ(outcome.errors, (std::vector<std::uint32_t>{kWineNotifyFailure}));
}

} // namespace
} // namespace halcyra::test
