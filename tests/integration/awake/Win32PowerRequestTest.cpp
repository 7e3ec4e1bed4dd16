// The power hold on the real system: what the power-request calls answer here, the way the
// adapter takes for it, and the thread's execution state held and given back.
#include <windows.h>

#include <gtest/gtest.h>

#include "awake/win32/Win32PowerRequest.h"
#include "common/win32/BoundProc.h"

namespace halcyra::win32::test {
namespace {

// This thread's execution state, read by setting it and putting it back.
EXECUTION_STATE ThreadState() {
    const EXECUTION_STATE previous = ::SetThreadExecutionState(ES_CONTINUOUS);
    ::SetThreadExecutionState(previous);
    return previous;
}

TEST(Win32PowerRequest, HoldsByRequestOrTheThreadStateAndGivesItBack) {
    BoundProc<HANDLE(WINAPI*)(PREASON_CONTEXT)> create{"kernel32.dll", "PowerCreateRequest"};
    BoundProc<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> set{"kernel32.dll", "PowerSetRequest"};
    ASSERT_TRUE(create.get() && set.get()) << "exported since Windows 7";
    wchar_t reason[] = L"Halcyra: test";
    REASON_CONTEXT context{0, POWER_REQUEST_CONTEXT_SIMPLE_STRING, {}};
    context.Reason.SimpleReasonString = reason;
    HANDLE request = create.get()(&context);
    const bool requests = request != INVALID_HANDLE_VALUE;
    if (requests) {
        ::CloseHandle(request);
    } else { // Wine: not implemented, and setting one neither
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
        EXPECT_FALSE(set.get()(request, PowerRequestSystemRequired));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    }

    const EXECUTION_STATE kSystem = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    const EXECUTION_STATE kNone = ES_CONTINUOUS;
    {
        Win32PowerRequest power;
        ASSERT_TRUE(power.Hold(true, "Halcyra: kept awake until 18:00 and the screen on").held);
        using Way = Win32PowerRequest::Way;
        EXPECT_EQ(power.Holding(), requests ? Way::Request : Way::ThreadState);
        EXPECT_EQ(ThreadState(), requests ? kNone : kSystem | ES_DISPLAY_REQUIRED);
        // Asserted again, as after a wake, now without the screen.
        ASSERT_TRUE(power.Hold(false, "Halcyra: kept awake until turned off").held);
        EXPECT_EQ(ThreadState(), requests ? kNone : kSystem);
        power.Release();
        EXPECT_EQ(power.Holding(), Way::None);
        EXPECT_EQ(ThreadState(), kNone);
        ASSERT_TRUE(power.Hold(false, "Halcyra: kept awake until turned off").held);
    }
    EXPECT_EQ(ThreadState(), kNone) << "let go at the end";
}

} // namespace
} // namespace halcyra::win32::test
