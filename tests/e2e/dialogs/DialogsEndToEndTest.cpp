// The dialogs in their own program, driven from this one as a user would: through window
// messages across the process boundary.
#include <windows.h>

#include "dialogs/MakerAddresses.h"
#include "dialogs/win32/DialogIds.h"
#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace halcyra::test {
namespace {

class HostProcess {
public:
    explicit HostProcess(const std::string& argument) {
        std::string commandLine = "\"" + WindowsPath(HALCYRA_DIALOGS_HOST) + "\" " + argument;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process_);
    }
    ~HostProcess() {
        if (process_.hProcess && ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 1);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
    bool Started() const { return process_.hProcess != nullptr; }
    bool Ended(DWORD milliseconds = 5000) const {
        return ::WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION process_{};
};

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PressKey(HWND window, WPARAM key) {
    HWND focus = FocusOf(window);
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
    ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

class DialogsEndToEnd : public ::testing::Test {
protected:
    BrowserLog browser_{HALCYRA_BROWSER_STUB};
};

TEST_F(DialogsEndToEnd, AboutOpensItsLinksAndStacksTheUpdateDialog) {
    HostProcess host("about");
    ASSERT_TRUE(host.Started());
    HWND about = FindVisibleDialog("About Halcyra");
    ASSERT_TRUE(about);
    HWND owner = ::GetWindow(about, GW_OWNER);
    EXPECT_EQ(WindowText(owner), "Halcyra Dialogs Host");
    EXPECT_FALSE(::IsWindowEnabled(owner));
    EXPECT_EQ(ItemText(about, IDC_ABOUT_TITLE), "Halcyra");
    EXPECT_EQ(ItemText(about, IDC_ABOUT_VERSION), "Version 1.3.2");

    // One at a time: each address goes through its own browser process, in no set order.
    Click(::GetDlgItem(about, IDC_ABOUT_WEBSITE));
    browser_.WaitForLines(1);
    Click(::GetDlgItem(about, IDC_ABOUT_EMAIL));
    EXPECT_EQ(browser_.WaitForLines(2),
              (std::vector<std::string>{std::string(dialogs::kMakerWebSite),
                                        "mailto:" + std::string(dialogs::kMakerMail)}));

    HWND link = ::GetDlgItem(about, IDC_ABOUT_UPDATE);
    ::PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    HWND update = FindVisibleDialog("Halcyra Updates");
    ASSERT_TRUE(update);
    EXPECT_EQ(::GetWindow(update, GW_OWNER), about);
    EXPECT_FALSE(::IsWindowEnabled(about));
    browser_.Clear();
    ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(browser_.WaitForLines(1),
              (std::vector<std::string>{std::string(dialogs::kProductPage)}));
    PressKey(update, VK_ESCAPE);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(::IsWindowVisible(update)) << "Escape does not close the Update dialog";
    ::PostMessageA(update, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitGone(update));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }));
    // The key goes where the focus is: wait until it is back in About, not still on its way.
    EXPECT_TRUE(WaitUntil([&] {
        HWND focus = FocusOf(about);
        return focus == about || ::IsChild(about, focus) != FALSE;
    }));

    PressKey(about, VK_ESCAPE);
    EXPECT_TRUE(WaitGone(about));
    EXPECT_TRUE(host.Ended()) << "the modal call returned once the dialog closed";
}

TEST_F(DialogsEndToEnd, UpdateOpensTheProductPageUntilClosed) {
    HostProcess host("update");
    ASSERT_TRUE(host.Started());
    HWND update = FindVisibleDialog("Halcyra Updates");
    ASSERT_TRUE(update);
    EXPECT_EQ(ItemText(update, IDC_UPDATE_VERSION), "1.3.2");
    PressKey(update, VK_RETURN);
    ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CHECK), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CHECK), BM_CLICK, 0, 0);
    const std::string page(dialogs::kProductPage);
    EXPECT_EQ(browser_.WaitForLines(2), (std::vector<std::string>{page, page}));
    EXPECT_TRUE(::IsWindowVisible(update));
    ::SendMessageA(::GetDlgItem(update, IDC_UPDATE_CLOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(update));
    EXPECT_TRUE(host.Ended());
}

TEST_F(DialogsEndToEnd, SystemInfoUnavailableBoxIsModalOverAbout) {
    DeleteValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    DeleteValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    HostProcess host("about");
    HWND about = FindVisibleDialog("About Halcyra");
    ASSERT_TRUE(about);
    ::PostMessageA(::GetDlgItem(about, IDC_ABOUT_SYSINFO), BM_CLICK, 0, 0);
    MessageBoxSeen box = FindMessageBox("Halcyra");
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(box.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_FALSE(box.icon);
    EXPECT_FALSE(::IsWindowEnabled(about));
    ::SendMessageA(::GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(box.window));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }));
    ::SendMessageA(::GetDlgItem(about, IDC_ABOUT_CMDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(host.Ended());
}

} // namespace
} // namespace halcyra::test
