// The command line of scripts, from a second process: handed to a running tray copy, or
// carried out alone. Only monitor off and the screen saver are ever run or armed: the other
// actions would end every program of the Wine session.
#include <gtest/gtest.h>

#include "HalcyraDriver.h"

namespace halcyra::e2e {
namespace {

struct Ended {
    bool ended = false;
    DWORD exitCode = 0;
    std::string output; // what it wrote to the pipe it was given as output and error
};

// Runs Halcyra.exe with these arguments to its end; withPipe gives it a pipe as its output,
// else it gets none (Wine would hand it this program's). meanwhile runs before the wait.
Ended RunToEnd(const std::string& arguments, bool withPipe = true,
               const std::function<void(DWORD pid)>& meanwhile = {}) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    if (withPipe) {
        ::CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16);
        ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
    }
    const std::string path = HalcyraExe();
    std::string line = "\"" + path + "\" " + arguments;
    PROCESS_INFORMATION pi{};
    Ended result;
    if (!::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, withPipe, 0, nullptr,
                          nullptr, &si, &pi)) {
        return result;
    }
    if (writeEnd) {
        ::CloseHandle(writeEnd); // the child holds the only writing end now
    }
    if (meanwhile) {
        meanwhile(pi.dwProcessId);
    }
    result.ended = ::WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    ::GetExitCodeProcess(pi.hProcess, &result.exitCode);
    if (!result.ended) {
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    if (readEnd) {
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            result.output.append(buffer, got);
        }
        ::CloseHandle(readEnd);
    }
    return result;
}

// The text of this process's console screen, without trailing blanks.
std::string ConsoleText() {
    const HANDLE out =
        ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    std::string text;
    if (out != INVALID_HANDLE_VALUE && ::GetConsoleScreenBufferInfo(out, &info)) {
        std::string row(static_cast<std::size_t>(info.dwSize.X), ' ');
        for (SHORT y = 0; y < info.dwSize.Y; ++y) {
            DWORD read = 0;
            ::ReadConsoleOutputCharacterA(out, row.data(), info.dwSize.X, COORD{0, y}, &read);
            text += row.substr(0, row.find_last_not_of(' ') + 1) + "\n";
        }
    }
    if (out != INVALID_HANDLE_VALUE) {
        ::CloseHandle(out);
    }
    return text;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredState();
        SetSetting("Confirm", "1"); // monitor off and the screen saver never ask anyway
    }
    void TearDown() override { ClearStoredState(); }
};

TEST_F(CommandLine, ARunningTrayCopyTakesTheScheduleAndAnswersStatusAndCancel) {
    HalcyraProcess tray("/start");
    const HWND main = tray.WaitReady(true);
    ASSERT_NE(main, nullptr);

    // Ended at once with 0: had it asked whether to start another copy, it would still wait.
    const Ended armed = RunToEnd("/action monitoroff /in 5");
    EXPECT_TRUE(armed.ended);
    EXPECT_EQ(armed.exitCode, 0u);
    EXPECT_EQ(WindowsOf(0, "HalcyraForm", "Halcyra").size(), 1u) << "no second copy stayed";

    const Ended status = RunToEnd("/STATUS");
    EXPECT_EQ(status.exitCode, 0u);
    EXPECT_FALSE(status.output.empty());
    EXPECT_EQ(status.output.find("Nothing is armed."), std::string::npos) << status.output;

    EXPECT_EQ(RunToEnd("/cancel").exitCode, 0u);
    EXPECT_EQ(RunToEnd("/cancel").exitCode, 3u) << "nothing left to cancel";
    EXPECT_EQ(RunToEnd("/status").output, "Nothing is armed.\r\n");
    // An action now, in the running copy.
    EXPECT_EQ(RunToEnd("/action screensaver").exitCode, 0u);
    EXPECT_TRUE(tray.Running());
    EXPECT_TRUE(TrayIconPresent(main));
}

TEST_F(CommandLine, StatusPrintsToTheConsoleOfItsStarter) {
    // A console of this process's own, which the program started from here attaches to.
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    const Ended status = RunToEnd("/status", false);
    const std::string screen = ConsoleText();
    ::FreeConsole();
    EXPECT_EQ(status.exitCode, 0u);
    EXPECT_NE(screen.find("Nothing is armed."), std::string::npos) << screen;
    EXPECT_TRUE(WindowsOf(0, "#32770", "Halcyra").empty()) << "never a box as well";
}

TEST_F(CommandLine, WithNeitherConsoleNorOutputTheTextShowsInABox) {
    ::FreeConsole();
    std::string text;
    const Ended wrong = RunToEnd("/action bogus", false, [&](DWORD pid) {
        HWND box = nullptr;
        WaitUntil([&] {
            const auto boxes = WindowsOf(pid, "#32770", "Halcyra");
            box = boxes.empty() ? nullptr : boxes.front();
            return box && ::IsWindowVisible(box);
        });
        text = box ? MessageBoxText(box) : "(no box)";
        ::PostMessageA(box, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(wrong.exitCode, 2u);
    EXPECT_NE(text.find("\"bogus\" is not an action"), std::string::npos) << text;
}

TEST_F(CommandLine, WithNoCopyRunningAScheduleStartsOneInTheTray) {
    HalcyraProcess armer("/action screensaver /at 23:59");
    const HWND main = armer.WaitReady(true);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(armer.Running());
    const Ended status = RunToEnd("/status");
    EXPECT_EQ(status.output.find("Nothing is armed."), std::string::npos) << status.output;
    EXPECT_EQ(RunToEnd("/cancel").exitCode, 0u);
}

TEST_F(CommandLine, AnActionWithNoCopyRunningEndsWhenDone) {
    const Ended done = RunToEnd("/Action MonitorOff /quiet");
    EXPECT_TRUE(done.ended);
    EXPECT_EQ(done.exitCode, 0u);
    EXPECT_TRUE(WindowsOf(0, "HalcyraForm", nullptr).empty());
    EXPECT_EQ(RunToEnd("/cancel").exitCode, 3u);
}

TEST_F(CommandLine, AWrongCommandLineSaysWhatAndEndsWithTwo) {
    const Ended wrong = RunToEnd("/action bogus");
    EXPECT_EQ(wrong.exitCode, 2u);
    EXPECT_NE(wrong.output.find("\"bogus\" is not an action"), std::string::npos) << wrong.output;
    EXPECT_NE(wrong.output.find("Usage:"), std::string::npos);
    EXPECT_TRUE(WindowsOf(0, "HalcyraForm", nullptr).empty()) << "nothing started";
    EXPECT_EQ(RunToEnd("/action monitoroff /at 24:00").exitCode, 2u);
}

} // namespace
} // namespace halcyra::e2e
