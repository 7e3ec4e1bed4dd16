// Keeping awake on the real system: what the power-request calls answer here, the way the
// adapter takes, the thread's execution state held and given back, and a program the test
// starts and ends turning keeping awake off.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>

#include "awake/KeepAwake.h"
#include "awake/win32/Win32PowerRequest.h"
#include "common/win32/BoundProc.h"
#include "support/FakeClock.h"
#include "support/FakeTimerPlatform.h"
#include "support/StartedProgram.h"
#include "watch/win32/Win32ProcessPort.h"

namespace halcyra::win32::test {
namespace {

using Way = Win32PowerRequest::Way;

// This thread's execution state, read by setting it and putting it back.
EXECUTION_STATE ThreadState() {
    const EXECUTION_STATE previous = ::SetThreadExecutionState(ES_CONTINUOUS);
    ::SetThreadExecutionState(previous);
    return previous;
}

// Whether the system creates power requests; what it answers, for the record.
bool SystemCreatesRequests() {
    BoundProc<HANDLE(WINAPI*)(PREASON_CONTEXT)> create{"kernel32.dll", "PowerCreateRequest"};
    BoundProc<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> set{"kernel32.dll", "PowerSetRequest"};
    BoundProc<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> clear{"kernel32.dll", "PowerClearRequest"};
    if (!create.get() || !set.get() || !clear.get()) {
        ADD_FAILURE() << "exported since Windows 7";
        return false;
    }
    wchar_t reason[] = L"Halcyra: test";
    REASON_CONTEXT context{};
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = reason;
    ::SetLastError(0);
    HANDLE request = create.get()(&context);
    const DWORD error = ::GetLastError();
    ::SetLastError(0);
    const BOOL setAnswer = set.get()(request, PowerRequestSystemRequired);
    const DWORD setError = ::GetLastError();
    ::SetLastError(0);
    const BOOL clearAnswer = clear.get()(request, PowerRequestSystemRequired);
    std::cout << "PowerCreateRequest: " << request << " error " << error
              << "; PowerSetRequest: " << setAnswer << " error " << setError
              << "; PowerClearRequest: " << clearAnswer << " error " << ::GetLastError() << "\n";
    if (request == INVALID_HANDLE_VALUE || request == nullptr) {
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED)) << "Wine's answer";
        EXPECT_FALSE(setAnswer || clearAnswer);
        return false;
    }
    ::CloseHandle(request);
    return true;
}

TEST(Win32PowerRequest, HoldsByRequestOrTheThreadStateAndGivesItBack) {
    const bool requests = SystemCreatesRequests();
    const EXECUTION_STATE kSystem = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    {
        Win32PowerRequest power;
        ASSERT_TRUE(power.Hold(true, "Halcyra: kept awake until 18:00 and the screen on").held);
        EXPECT_EQ(power.Holding(), requests ? Way::Request : Way::ThreadState);
        if (!requests) {
            EXPECT_EQ(ThreadState(), kSystem | ES_DISPLAY_REQUIRED);
        }
        // Asserted again, as after a wake, now without the screen.
        ASSERT_TRUE(power.Hold(false, "Halcyra: kept awake until turned off").held);
        if (!requests) {
            EXPECT_EQ(ThreadState(), kSystem);
        }
        power.Release();
        EXPECT_EQ(power.Holding(), Way::None);
        EXPECT_EQ(ThreadState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
        ASSERT_TRUE(power.Hold(false, "Halcyra: kept awake for a while").held);
    }
    EXPECT_EQ(ThreadState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS)) << "let go at the end";
}

TEST(KeepAwakeOnTheSystem, AProgramsEndTurnsItOff) {
    const PROCESS_INFORMATION info = halcyra::test::StartProgram(HALCYRA_WATCHED_PROGRAM);
    halcyra::test::FakeClock clock;
    halcyra::test::FakeTimerPlatform timerPlatform;
    MTimer timers(timerPlatform);
    Win32PowerRequest power;
    Win32ProcessPort processes;
    int changes = 0;
    KeepAwake awake({clock, timers, power, processes}, {[&] { ++changes; }, [](auto&) {}});
    const AwakeRequest request{AwakeKind::While, 0, 0, 0, std::to_string(info.dwProcessId), false};
    const AwakeResult result = awake.Start(request);
    ASSERT_EQ(result.outcome, AwakeOutcome::On) << result.message;
    EXPECT_EQ(awake.Status(), "Kept awake while HalcyraWatched.exe runs");
    EXPECT_NE(power.Holding(), Way::None);

    halcyra::test::EndProgram(info);
    EXPECT_TRUE(halcyra::test::PumpUntil([&] { return !awake.On(); }));
    EXPECT_EQ(power.Holding(), Way::None);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(timerPlatform.running.empty()) << "nothing polled meanwhile";
}

} // namespace
} // namespace halcyra::win32::test
