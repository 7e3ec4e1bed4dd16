// What the real program tells the user when an action cannot work: hotkeys another program
// holds, and a power library that cannot be loaded.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HalcyraDriver.h"
#include "actions/MenuIds.h"
#include "settings/win32/frmOptionsResources.h"

namespace halcyra::test {
namespace {

const char* kRefusedS = "Another program already uses this shortcut, so it does nothing:\n\n"
                        "CTRL+ALT+S (Shutdown)\n\nYou can choose a different letter in Options.";

// This test program plays the other program that holds CTRL+ALT+S.
class HeldHotkey {
public:
    explicit HeldHotkey(UINT vk)
        : held_(::RegisterHotKey(nullptr, 0x7100, MOD_CONTROL | MOD_ALT, vk) != FALSE) {}
    ~HeldHotkey() {
        if (held_) {
            ::UnregisterHotKey(nullptr, 0x7100);
        }
    }
    bool Held() const { return held_; }

private:
    bool held_;
};

// Halcyra started with the power library disabled for its process alone. Wine takes DLL
// overrides from the Unix environment only, so the start goes through a Unix shell; the
// program is then found by its window and ended by its process id.
class HalcyraWithoutPowerLibrary {
public:
    HalcyraWithoutPowerLibrary() {
        const char* wine = std::getenv("HALCYRA_WINE");
        if (!wine) {
            return;
        }
        std::string line = "Z:\\bin\\sh -c \"WINEDLLOVERRIDES='mscoree,mshtml=;powrprof=d' exec " +
                           std::string(wine) + " '" + HALCYRA_EXE + "'\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi)) {
            return;
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        WaitUntil([&] {
            const auto found = WindowsOf(0, "HalcyraForm", "Halcyra");
            hwnd_ = found.empty() ? nullptr : found.front();
            return hwnd_ != nullptr && ::IsWindowVisible(hwnd_);
        });
        if (hwnd_) {
            ::GetWindowThreadProcessId(hwnd_, &pid_);
            process_ = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid_);
        }
    }
    ~HalcyraWithoutPowerLibrary() {
        if (process_) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, 5000);
            ::CloseHandle(process_);
        }
    }
    HalcyraWithoutPowerLibrary(const HalcyraWithoutPowerLibrary&) = delete;
    HalcyraWithoutPowerLibrary& operator=(const HalcyraWithoutPowerLibrary&) = delete;

    HWND Window() const { return hwnd_; }
    DWORD Pid() const { return pid_; }
    bool Running() const { return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

private:
    HWND hwnd_ = nullptr;
    DWORD pid_ = 0;
    HANDLE process_ = nullptr;
};

void Dismiss(HWND box) {
    ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitUntil([&] { return !::IsWindow(box); });
}

HWND VisibleBox(DWORD pid) {
    for (HWND w : WindowsOf(pid, "#32770", "Halcyra")) {
        if (::IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

bool AnyBox(const HalcyraProcess& halcyra) {
    return VisibleBox(halcyra.Pid()) != nullptr;
}

class Failures : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredState(); }
    void TearDown() override { ClearStoredState(); }
};

TEST_F(Failures, AHotkeyHeldElsewhereIsNamedAtAnOrdinaryStartAndTheOthersWork) {
    SetSetting("HotKeyShutdown", "S");
    SetSetting("HotKeyStandby", "B");
    HeldHotkey other('S');
    ASSERT_TRUE(other.Held());
    HalcyraProcess halcyra;
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kRefusedS);
    HWND hwnd = halcyra.MainWindow();
    EXPECT_TRUE(::IsWindowVisible(hwnd)) << "over the window, once it is up";
    EXPECT_FALSE(HotkeyFree('B')) << "CTRL+ALT+B registered all the same";
    Dismiss(box);
    EXPECT_TRUE(halcyra.Running());
}

TEST_F(Failures, AtALogOnStartTheReportWaitsUntilTheWindowIsFirstShown) {
    SetSetting("HotKeyShutdown", "S");
    HeldHotkey other('S');
    ASSERT_TRUE(other.Held());
    HalcyraProcess halcyra("/start");
    HWND hwnd = halcyra.WaitReady(true);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(WaitUntil([&] { return AnyBox(halcyra); }, 500)) << "no box while hidden";

    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_SHOW, 0);
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kRefusedS);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    Dismiss(box);

    // Hidden and shown again: said once only.
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_SHOW, 0);
    ::SendMessageA(hwnd, WM_COMMAND, ID_MNU_SHOW, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(AnyBox(halcyra));
}

TEST_F(Failures, ALetterTakenWhileOptionsIsOpenIsNamedAtOk) {
    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    ::PostMessageA(hwnd, WM_COMMAND, ID_MNU_OPTIONS, 0);
    HWND options = halcyra.DialogTitled("Options");
    ASSERT_NE(options, nullptr);
    ::SendDlgItemMessageA(options, IDC_OPTIONS_COMBO0 + 3, CB_SETCURSEL, 19, 0); // Shutdown S
    HeldHotkey other('S');
    ASSERT_TRUE(other.Held());
    ::PostMessageA(::GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
    HWND box = halcyra.DialogTitled("Halcyra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kRefusedS);
    Dismiss(box);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyShutdown"), "S");
}

TEST_F(Failures, WithoutThePowerLibraryStandbyAndHibernateSayWhyAndSoDoesARefusedLock) {
    SetSetting("Confirm", "0");
    HalcyraWithoutPowerLibrary halcyra;
    HWND hwnd = halcyra.Window();
    ASSERT_NE(hwnd, nullptr);
    const struct {
        int command;
        const char* action;
        DWORD error;
    } rows[] = {{ID_MNU_STANDBY, "put the computer on standby", ERROR_MOD_NOT_FOUND},
                {ID_MNU_HIBERNATE, "hibernate the computer", ERROR_MOD_NOT_FOUND},
                // Wine does not lock a workstation: it answers "not implemented".
                {ID_MNU_LOCK, "lock the computer", ERROR_CALL_NOT_IMPLEMENTED}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        char reason[256] = {};
        const DWORD length =
            ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             row.error, 0, reason, sizeof reason, nullptr);
        std::string text(reason, length);
        while (!text.empty() &&
               (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
            text.pop_back();
        }
        ASSERT_FALSE(text.empty());
        ::PostMessageA(hwnd, WM_COMMAND, row.command, 0);
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = VisibleBox(halcyra.Pid())) != nullptr; }));
        EXPECT_EQ(MessageBoxText(box), "Halcyra could not " + std::string(row.action) + ".\n\n" +
                                           text + "\n\nYou can try again or use the Start menu.");
        Dismiss(box);
        EXPECT_FALSE(WaitUntil([&] { return VisibleBox(halcyra.Pid()) != nullptr; }, 300))
            << "one message";
    }
    EXPECT_TRUE(halcyra.Running());
}

} // namespace
} // namespace halcyra::test
