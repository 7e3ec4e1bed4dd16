#include "winmsg/MTimer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/RaisedError.h"
#include "support/FakeTimerPlatform.h"

namespace halcyra::test {
namespace {

using Log = std::vector<std::string>;

class TimerTest : public ::testing::Test {
protected:
    std::shared_ptr<CTimer> Counting(int& ticks) {
        auto t = CTimer::Create(module);
        t->OnThatTime([&ticks] { ++ticks; });
        return t;
    }
    int PositionOf(const std::shared_ptr<CTimer>& t) const {
        for (int i = 1; i <= MTimer::kPositions; ++i) {
            if (module.Position(i) == t) {
                return i;
            }
        }
        return 0;
    }

    FakeTimerPlatform platform;
    MTimer module{platform};
};

TEST_F(TimerTest, StartingFillsTheFirstPosition) {
    int ticks = 0;
    auto t = Counting(ticks);
    t->Interval(500);
    EXPECT_EQ(platform.log, (Log{"SetTimer 500"}));
    EXPECT_EQ(PositionOf(t), 1);
    EXPECT_EQ(module.HighWaterMark(), 1);
    module.TimerProc(1);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, IntervalRules) {
    int ticks = 0;
    auto t = Counting(ticks);
    t->Interval(500);
    platform.log.clear();

    t->Interval(500); // the running timer is not restarted
    EXPECT_TRUE(platform.log.empty());

    t->Interval(250); // one stop, one start, still firing
    EXPECT_EQ(platform.log, (Log{"KillTimer 1", "SetTimer 250"}));
    EXPECT_EQ(t->Interval(), 250);
    ASSERT_EQ(platform.running.size(), 1u);
    module.TimerProc(platform.running.begin()->first);
    EXPECT_EQ(ticks, 1);

    platform.log.clear();
    t->Interval(-5);
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_EQ(platform.log, (Log{"KillTimer 1"}));
    EXPECT_EQ(PositionOf(t), 0);

    platform.log.clear();
    t->Interval(0);
    t->Interval(-1);
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(TimerTest, FreedPositionIsReusedAndTheHighWaterMarkStays) {
    int ticks = 0;
    auto first = Counting(ticks);
    auto second = Counting(ticks);
    auto third = Counting(ticks);
    first->Interval(100);
    second->Interval(100);
    first->Interval(0);
    third->Interval(100);
    EXPECT_EQ(PositionOf(third), 1);
    EXPECT_EQ(PositionOf(second), 2);
    EXPECT_EQ(module.HighWaterMark(), 2);
    second->Interval(0);
    third->Interval(0);
    EXPECT_EQ(module.HighWaterMark(), 2);
}

TEST_F(TimerTest, TickIsRoutedByIdentifierOnly) {
    int ticksA = 0, ticksB = 0;
    auto a = Counting(ticksA);
    auto b = Counting(ticksB);
    a->Interval(10);
    b->Interval(20);
    module.TimerProc(2);
    module.TimerProc(2);
    module.TimerProc(99); // in no position
    module.TimerProc(0);
    EXPECT_EQ(ticksA, 0);
    EXPECT_EQ(ticksB, 2);
}

TEST_F(TimerTest, RefusedThreadTimerRaises13652AndLeavesTheTimerStopped) {
    auto t = CTimer::Create(module);
    platform.refuse = true;
    try {
        t->Interval(300);
        ADD_FAILURE() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), -2147207852);
        EXPECT_EQ(e.Source(), "Halcyra.WindowProc");
        EXPECT_EQ(e.Description(), "Can't create system timer");
    }
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_EQ(PositionOf(t), 0);
    EXPECT_EQ(module.HighWaterMark(), 0);
    platform.refuse = false;
    t->Interval(300);
    EXPECT_EQ(PositionOf(t), 1);
}

TEST_F(TimerTest, HundredAndFirstTimerRaises13651AndItsThreadTimerIsStoppedAgain) {
    std::vector<std::shared_ptr<CTimer>> timers;
    for (int i = 0; i < 100; ++i) {
        timers.push_back(CTimer::Create(module));
        timers.back()->Interval(1000);
    }
    EXPECT_EQ(module.HighWaterMark(), 100);
    auto extra = CTimer::Create(module);
    platform.log.clear();
    try {
        extra->Interval(1000);
        ADD_FAILURE() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), -2147207853);
        EXPECT_EQ(e.Source(), "Halcyra.WindowProc");
        EXPECT_EQ(e.Description(), "No more than 10 timers allowed per class");
    }
    EXPECT_EQ(platform.log, (Log{"SetTimer 1000", "KillTimer 101"}));
    EXPECT_EQ(platform.running.size(), 100u);
    EXPECT_EQ(extra->Interval(), 0);
    EXPECT_EQ(PositionOf(extra), 0);

    // The identifier it was given comes back for another timer; the refused one must not be
    // able to stop that one.
    timers[0]->Interval(0);
    auto reuse = CTimer::Create(module);
    platform.forceNext = 101;
    reuse->Interval(5);
    extra->Interval(0);
    extra->Interval(-1);
    EXPECT_EQ(PositionOf(reuse), 1);
    EXPECT_EQ(platform.running.count(101), 1u);
}

TEST_F(TimerTest, TableKeepsARunningTimerAliveUntilItIsStopped) {
    int ticks = 0;
    std::weak_ptr<CTimer> weak;
    {
        auto t = Counting(ticks);
        t->Interval(50);
        weak = t;
    }
    ASSERT_FALSE(weak.expired());
    module.TimerProc(1);
    module.TimerProc(1);
    EXPECT_EQ(ticks, 2);
    weak.lock()->Interval(0);
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(platform.running.empty());
}

TEST_F(TimerTest, HandlerMayStopItsOwnUnownedTimer) {
    std::weak_ptr<CTimer> weak;
    int ticks = 0;
    {
        auto t = CTimer::Create(module);
        CTimer* raw = t.get();
        t->OnThatTime([raw, &ticks] {
            ++ticks;
            raw->Interval(0); // drops the table's last reference during the tick
            raw->Item(std::string("still here"));
        });
        t->Interval(50);
        weak = t;
    }
    module.TimerProc(1);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(weak.expired());
    module.TimerProc(1);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, HandlerMayRestartTimersDuringTheTick) {
    int ticks = 0;
    auto a = Counting(ticks);
    auto b = CTimer::Create(module);
    b->OnThatTime([&] {
        b->Interval(b->Interval() + 1);
        a->Interval(a->Interval() == 0 ? 30 : 0);
    });
    b->Interval(10);
    module.TimerProc(1);
    EXPECT_EQ(PositionOf(a), 2);
    EXPECT_EQ(b->Interval(), 11);
    EXPECT_EQ(platform.running.size(), 2u);
}

TEST_F(TimerTest, ModuleGoingAwayStopsItsThreadTimers) {
    auto platform2 = std::make_unique<FakeTimerPlatform>();
    auto module2 = std::make_unique<MTimer>(*platform2);
    auto t = CTimer::Create(*module2);
    t->Interval(40);
    module2.reset();
    EXPECT_TRUE(platform2->running.empty());
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_THROW(t->Interval(40), RaisedError);
}

} // namespace
} // namespace halcyra::test
