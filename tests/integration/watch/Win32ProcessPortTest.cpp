// The program watcher on the real system: a program the test starts and ends is reported
// through the window's message loop; an id that runs nothing is refused; the window list
// shows a window the test made.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Wait.h"
#include "support/WatchedJob.h"
#include "watch/ProcessWatcher.h"
#include "watch/win32/Win32ProcessPort.h"

namespace halcyra::win32::test {
namespace {

using halcyra::test::WaitUntil;
constexpr char kWatched[] = "HalcyraWatched.exe";

template <typename Condition>
bool PumpUntil(Condition done) {
    return WaitUntil([&] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
        return done();
    });
}

TEST(Win32ProcessPort, AStartedProgramsEndsAreReportedOneByOneThenAll) {
    const halcyra::test::WatchedJob first(HALCYRA_WATCHED_PROGRAM);
    const halcyra::test::WatchedJob second(HALCYRA_WATCHED_PROGRAM);
    Win32ProcessPort port;
    ProcessWatcher watcher(port);
    std::vector<WatchEnd> ends;
    const WatchResult result =
        watcher.Watch(kWatched, [&](const WatchEnd& end) { ends.push_back(end); });
    ASSERT_EQ(result.outcome, WatchOutcome::Watching) << result.message;
    EXPECT_EQ(result.count, 2U);
    EXPECT_EQ(result.program, kWatched);
    first.End();
    ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
    EXPECT_EQ(ends[0].id, first.Id());
    EXPECT_FALSE(ends[0].AllEnded());
    second.End();
    ASSERT_TRUE(PumpUntil([&] { return ends.size() == 2; }));
    EXPECT_TRUE(ends[1].AllEnded());
}

TEST(Win32ProcessPort, AnEndAfterTheCancelIsDroppedAndAnIdThatRunsNothingRefused) {
    const halcyra::test::WatchedJob job(HALCYRA_WATCHED_PROGRAM);
    Win32ProcessPort port;
    ProcessWatcher watcher(port);
    bool ended = false;
    const std::string id = std::to_string(job.Id());
    const WatchResult result = watcher.Watch(id, [&](const WatchEnd&) { ended = true; });
    ASSERT_EQ(result.outcome, WatchOutcome::Watching) << result.message;
    EXPECT_EQ(result.program, kWatched);
    // Cancelled once the end is in the queue; after the cancel nothing more can be posted, so
    // one pass over the queue settles it.
    job.End();
    ASSERT_TRUE(WaitUntil([] {
        MSG msg;
        return ::PeekMessageA(&msg, nullptr, WM_APP, 0xBFFF, PM_NOREMOVE) != FALSE;
    }));
    EXPECT_TRUE(watcher.Cancel());
    PumpUntil([] { return true; });
    EXPECT_FALSE(ended);

    const WatchResult refused = watcher.Watch(id, [](const WatchEnd&) {});
    EXPECT_EQ(refused.outcome, WatchOutcome::NotRunning);
    EXPECT_EQ(refused.message, "No program runs with process id " + id + ".");
    EXPECT_EQ(port.StartWait(job.Id(), [] {}).refusal, WaitRefusal::NotRunning);
}

TEST(Win32ProcessPort, TheWindowListShowsAVisibleUnownedWindowWithItsProgram) {
    HWND shown = ::CreateWindowExW(0, L"STATIC", L"Halcyra watch test \u00e9t\u00e9",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    HWND owned = ::CreateWindowExW(0, L"STATIC", L"Halcyra owned test", WS_POPUP | WS_VISIBLE, 0, 0,
                                   50, 50, shown, nullptr, nullptr, nullptr);
    ASSERT_TRUE(shown && owned);
    char self[MAX_PATH];
    const std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    const WindowedProgram expected{"Halcyra watch test \xc3\xa9t\xc3\xa9",
                                   path.substr(path.find_last_of('\\') + 1),
                                   ::GetCurrentProcessId()};
    Win32ProcessPort port;
    bool listed = false;
    for (const WindowedProgram& program : port.WindowedPrograms()) {
        listed = listed || program == expected;
        EXPECT_NE(program.title, "Halcyra owned test");
    }
    EXPECT_TRUE(listed);
    ::DestroyWindow(owned);
    ::DestroyWindow(shown);
}

} // namespace
} // namespace halcyra::win32::test
