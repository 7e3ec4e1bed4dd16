// Thread timers of the real platform ticking through a message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "ErrorBoxAnswer.h"
#include "winmsg/win32/Win32TimerPlatform.h"

namespace halcyra::test {
namespace {

// Runs the thread's message loop for about ms milliseconds.
void Pump(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

TEST(Win32Timer, TicksWhileTheLoopRunsAndStopsAtZero) {
    auto timer = CTimer::Create(win32::TimerModule());
    int ticks = 0;
    timer->OnThatTime([&] {
        if (++ticks == 5) {
            timer->Interval(0);
        }
    });
    timer->Interval(20);
    Pump(600);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(timer->Interval(), 0);
    Pump(150);
    EXPECT_EQ(ticks, 5);
    timer->OnThatTime(nullptr);
}

TEST(Win32Timer, UnownedTimerKeepsFiringAndNewIntervalReplacesTheOld) {
    int ticks = 0;
    std::weak_ptr<CTimer> weak;
    {
        auto timer = CTimer::Create(win32::TimerModule());
        timer->OnThatTime([&] { ++ticks; });
        timer->Interval(500);
        timer->Interval(15);
        weak = timer;
    }
    Pump(300);
    EXPECT_GE(ticks, 3);
    ASSERT_FALSE(weak.expired());
    weak.lock()->Interval(0);
    EXPECT_TRUE(weak.expired());
    const int atStop = ticks;
    Pump(100);
    EXPECT_EQ(ticks, atStop);
}

TEST(Win32Timer, TwoTimersEachGetTheirOwnTicks) {
    auto fast = CTimer::Create(win32::TimerModule());
    auto slow = CTimer::Create(win32::TimerModule());
    int fastTicks = 0, slowTicks = 0;
    fast->OnThatTime([&] { ++fastTicks; });
    slow->OnThatTime([&] { ++slowTicks; });
    fast->Interval(15);
    slow->Interval(200);
    Pump(450);
    fast->Interval(0);
    slow->Interval(0);
    EXPECT_GT(fastTicks, slowTicks);
    EXPECT_GE(slowTicks, 1);
    EXPECT_EQ(win32::TimerModule().Position(1), nullptr);
    EXPECT_EQ(win32::TimerModule().Position(2), nullptr);
}

TEST(Win32Timer, AHandlersErrorIsShownAndEndsTheProgram) {
    EXPECT_EXIT(
        {
            auto timer = CTimer::Create(win32::TimerModule());
            timer->OnThatTime([] { throw std::runtime_error("tick failed"); });
            AnswerTheErrorBoxLater();
            timer->Interval(10);
            for (;;) {
                Pump(100);
            }
        },
        ::testing::ExitedWithCode(1), "Halcyra: tick failed");
}

} // namespace
} // namespace halcyra::test
