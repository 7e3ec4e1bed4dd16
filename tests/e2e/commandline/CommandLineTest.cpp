// The command line of scripts, from a second process: handed to a running tray copy, or
// carried out alone. Only monitor off and the screen saver are ever run or armed: the other
// actions would end every program of the Wine session.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "e2e/app/HalcyraDriver.h"
#include "support/WatchedJob.h"

namespace halcyra::test {
namespace {

struct Ended {
    DWORD exitCode = STILL_ACTIVE; // also when it had to be ended
    std::string output;            // what it wrote to the pipe it was given as output and error
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
    if (::WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &result.exitCode);
    } else {
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

// The exit code of a command line run to its end (STILL_ACTIVE: it had to be ended).
DWORD ExitCodeOf(std::string line) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &code);
    } else {
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

// Ends every Halcyra main window's process but this one's: tray copies that the program
// started by itself belong to no test.
void EndEveryCopy() {
    for (HWND main : WindowsOf(0, "HalcyraForm", nullptr)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(main, &pid);
        if (pid == ::GetCurrentProcessId()) {
            continue;
        }
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 5000);
            ::CloseHandle(process);
        }
    }
}

// A copy that has stopped answering: a main window whose thread takes no message until the
// test is done with it.
class SilentCopy {
public:
    SilentCopy() : stop_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "HalcyraForm";
            ::RegisterClassA(&wc);
            hwnd_ = ::CreateWindowExA(0, "HalcyraForm", "Halcyra", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                      100, nullptr, nullptr, wc.hInstance, nullptr);
            ::WaitForSingleObject(stop_, INFINITE);
            ::DestroyWindow(hwnd_);
        });
        WaitUntil([&] { return hwnd_.load() != nullptr; });
    }
    ~SilentCopy() {
        ::SetEvent(stop_);
        thread_.join();
        ::CloseHandle(stop_);
    }
    SilentCopy(const SilentCopy&) = delete;
    SilentCopy& operator=(const SilentCopy&) = delete;
    HWND Hwnd() const { return hwnd_; }

private:
    HANDLE stop_;
    std::atomic<HWND> hwnd_{nullptr};
    std::thread thread_;
};

// The characters of this process's console screen, row after row.
std::string ConsoleText() {
    const HANDLE out =
        ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ::GetConsoleScreenBufferInfo(out, &info);
    std::string text(static_cast<std::size_t>(info.dwSize.X * info.dwSize.Y), ' ');
    DWORD read = 0;
    ::ReadConsoleOutputCharacterA(out, text.data(), static_cast<DWORD>(text.size()), COORD{0, 0},
                                  &read);
    ::CloseHandle(out);
    return text;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredState();
        SetSetting("Confirm", "1"); // monitor off and the screen saver never ask anyway
    }
    void TearDown() override {
        EndEveryCopy();
        ClearStoredState();
    }
};

TEST_F(CommandLine, ARunningTrayCopyTakesTheScheduleAndKeepingAwakeAndAnswersStatus) {
    HalcyraProcess tray("/start");
    const HWND main = tray.WaitReady(true);
    ASSERT_NE(main, nullptr);

    // Ended with 0: had it asked whether to start another copy, it would still be waiting.
    EXPECT_EQ(RunToEnd("/action monitoroff /in 5").exitCode, 0u);
    EXPECT_EQ(WindowsOf(0, "HalcyraForm", "Halcyra").size(), 1u) << "no second copy stayed";

    // The running copy's answer, on the console of this process's own that the second attaches to.
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    EXPECT_EQ(RunToEnd("/STATUS", false).exitCode, 0u);
    const std::string screen = ConsoleText();
    ::FreeConsole();
    // The tip and the menus show this same text (the main window's own tests read them).
    EXPECT_NE(screen.find("Turn off Monitor at "), std::string::npos) << screen;
    EXPECT_TRUE(WindowsOf(0, "#32770", "Halcyra").empty()) << "never a box as well";

    EXPECT_EQ(RunToEnd("/cancel").exitCode, 0u);
    EXPECT_EQ(RunToEnd("/cancel").exitCode, 3u) << "nothing left to cancel";
    EXPECT_EQ(RunToEnd("/status").output, "Nothing is armed.\r\n");
    EXPECT_EQ(RunToEnd("/action screensaver").exitCode, 0u); // now, in the running copy

    // Keeping awake, in the same copy.
    EXPECT_EQ(RunToEnd("/awake off").exitCode, 3u) << "it was not on";

    const struct {
        const char* line;
        const char* status;
    } rows[] = {
        {"/awake", "Kept awake until turned off\r\n"},
        {"/awake /in 30 /display", "Kept awake for 30 more minutes and the screen on\r\n"},
        {"/awake /at 23:59", "Kept awake until 23:59\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RunToEnd(row.line).exitCode, 0u) << row.line;
        EXPECT_EQ(RunToEnd("/status").output, row.status) << row.line;
    }
    EXPECT_EQ(RunToEnd("/awake off").exitCode, 0u);
    const Ended gone = RunToEnd("/awake /while NoSuchProgram.exe");
    EXPECT_EQ(gone.exitCode, 1u);
    EXPECT_NE(gone.output.find("NoSuchProgram.exe"), std::string::npos) << gone.output;

    // A job the test starts and ends: keeping awake lets go when its process ends.
    const WatchedJob job(HALCYRA_WATCHED_PROGRAM);
    ASSERT_TRUE(job.Started());
    EXPECT_EQ(RunToEnd("/awake /while " + std::to_string(job.Id())).exitCode, 0u);
    EXPECT_EQ(RunToEnd("/status").output, "Kept awake while HalcyraWatched.exe runs\r\n");
    job.End();
    const DWORD ended = ::GetTickCount();
    // The time includes a /status run's own start: an upper bound.
    EXPECT_TRUE(
        WaitUntil([] { return RunToEnd("/status").output == "Nothing is armed.\r\n"; }, 20000));
    std::printf("kept awake ended within %lu ms of the watched program\n",
                static_cast<unsigned long>(::GetTickCount() - ended));
    EXPECT_TRUE(tray.Running());
    EXPECT_TRUE(TrayIconPresent(main));
}

TEST_F(CommandLine, WithNoCopyRunningAnActionEndsWhenDoneAndAScheduleStaysInATrayCopyOfItsOwn) {
    EXPECT_EQ(RunToEnd("/Action MonitorOff /quiet").exitCode, 0u);
    EXPECT_TRUE(WindowsOf(0, "HalcyraForm", nullptr).empty());
    EXPECT_EQ(RunToEnd("/cancel").exitCode, 3u);
    // Refused, the tray copy started for it holds nothing and goes again.
    EXPECT_EQ(RunToEnd("/awake /while NoSuchProgram.exe").exitCode, 1u);
    EXPECT_TRUE(WaitUntil([] { return WindowsOf(0, "HalcyraForm", nullptr).empty(); }));

    // Started by a script, directly or with cmd's "start /wait" as the README shows: it ends
    // with the tray copy's answer, and the tray copy holds the schedule.
    const std::string exe = HalcyraExe();
    const struct {
        std::string line;
        const char* status;
    } rows[] = {
        {"\"" + exe + "\" /action screensaver /at 23:59", "Screen Saver at 23:59\r\n"},
        {"cmd /c start /wait \"\" \"" + exe + "\" /action screensaver /at 23:58 /quiet",
         "Screen Saver at 23:58\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ExitCodeOf(row.line), 0u) << row.line;
        const auto copies = WindowsOf(0, "HalcyraForm", "Halcyra");
        ASSERT_EQ(copies.size(), 1u) << row.line;
        EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(copies.front()); })) << row.line;
        EXPECT_FALSE(::IsWindowVisible(copies.front()));
        EXPECT_EQ(RunToEnd("/status").output, row.status);
        EXPECT_EQ(RunToEnd("/cancel").exitCode, 0u);
        EndEveryCopy();
    }
}

TEST_F(CommandLine, ACopyThatDoesNotAnswerGetsTheRequestOnlyOnceAndTheCallerEndsWithOne) {
    const SilentCopy silent;
    ASSERT_NE(silent.Hwnd(), nullptr);
    // What the system calls a copy that does not answer: no message taken for five seconds.
    ASSERT_TRUE(WaitUntil([&] { return ::IsHungAppWindow(silent.Hwnd()) != FALSE; }, 30000));
    for (const char* line : {"/action monitoroff", "/action screensaver /in 5"}) {
        const Ended ended = RunToEnd(line);
        EXPECT_EQ(ended.exitCode, 1u) << line;
        EXPECT_NE(ended.output.find("The running copy of Halcyra did not answer."),
                  std::string::npos)
            << line << ": " << ended.output;
        // Counted without asking the windows' titles: the silent one would never answer.
        int mainWindows = 0;
        for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "HalcyraForm", nullptr));) {
            ++mainWindows;
        }
        EXPECT_EQ(mainWindows, 1) << line << ": no tray copy of its own";
    }
}

TEST_F(CommandLine, AWrongCommandLineSaysWhatAndEndsWithTwo) {
    const Ended wrong = RunToEnd("/action bogus");
    EXPECT_EQ(wrong.exitCode, 2u);
    EXPECT_NE(wrong.output.find("\"bogus\" is not an action"), std::string::npos) << wrong.output;
    EXPECT_NE(wrong.output.find("Usage:"), std::string::npos);
    EXPECT_TRUE(WindowsOf(0, "HalcyraForm", nullptr).empty()) << "nothing started";
    EXPECT_EQ(RunToEnd("/action monitoroff /at 24:00").exitCode, 2u);

    // With neither a console nor an output to write to, a box says it.
    ::FreeConsole();
    std::string text;
    const Ended boxed = RunToEnd("/action bogus", false, [&](DWORD pid) {
        HWND box = nullptr;
        WaitUntil([&] {
            const auto boxes = WindowsOf(pid, "#32770", "Halcyra");
            box = boxes.empty() ? nullptr : boxes.front();
            return box && ::IsWindowVisible(box);
        });
        text = box ? MessageBoxText(box) : "(no box)";
        ::PostMessageA(box, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(boxed.exitCode, 2u);
    EXPECT_NE(text.find("\"bogus\" is not an action"), std::string::npos) << text;

    // Unattended, as Task Scheduler starts it: no box waits for a click; the exit code answers.
    for (const char* line : {"/action bogus /quiet", "/quiet /status"}) {
        bool boxShown = false;
        const Ended quiet = RunToEnd(line, false, [&](DWORD pid) {
            HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
            WaitUntil([&] {
                boxShown = boxShown || !WindowsOf(pid, "#32770", "Halcyra").empty();
                return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
            });
            ::CloseHandle(process);
        });
        EXPECT_EQ(quiet.exitCode, 2u) << line;
        EXPECT_FALSE(boxShown) << line;
    }
}

} // namespace
} // namespace halcyra::test
