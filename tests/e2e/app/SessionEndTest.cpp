// The one power request proved for real: with the question off, "&Shutdown" from the menu ends
// the Wine session, Halcyra with it. The other requests are checked on the fakes only.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HalcyraDriver.h"
#include "actions/MenuIds.h"

namespace halcyra::test {
namespace {

// The session's end takes the bench's keeper window with it; start it again so the desktop
// and its taskbar stay up for the programs that run after this one.
void RestartBenchKeeper() {
    // Through a shell that detaches it from this test's output: a Windows child would hold the
    // output open, and the test runner would wait for its end.
    ASSERT_NE(std::getenv("HALCYRA_BENCH_DIR"), nullptr);
    ASSERT_TRUE(RunUnix("(\\\"$HALCYRA_WINE\\\" \\\"$HALCYRA_BENCH_DIR/bench-keeper.exe\\\" "
                        "</dev/null >/dev/null 2>&1 &)"));
    EXPECT_TRUE(WaitUntil([] { return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }));
}

TEST(SessionEnd, ShutdownWithoutTheQuestionEndsTheSession) {
    ClearStoredState();
    SetSetting("Confirm", "0");
    {
        HalcyraProcess halcyra("/start");
        HWND hwnd = halcyra.WaitReady(true);
        ASSERT_NE(hwnd, nullptr);
        ::PostMessageA(hwnd, WM_COMMAND, ID_MENU_SHUTDOWN, 0);
        EXPECT_TRUE(halcyra.WaitForExit(20000)) << "the session's end closes Halcyra";
        EXPECT_TRUE(WindowsOf(0, "#32770", "Halcyra").empty()) << "nothing asked first";
    }
    RestartBenchKeeper();
    ClearStoredState();
}

} // namespace
} // namespace halcyra::test
