// Long random runs of attach/detach and timer start/stop with a fixed seed, checking the
// bookkeeping against a simple model after every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/RaisedError.h"
#include "support/FakeSubclassPlatform.h"
#include "support/FakeTimerPlatform.h"
#include "winmsg/MSubclass.h"
#include "winmsg/MTimer.h"

namespace halcyra::test {
namespace {

struct Named : ISubclass {
    explicit Named(int i) : id(i) {}
    int id;
    std::vector<int>* calls = nullptr;
    LResult WindowProc(WindowHandle, std::uint32_t, WParam, LParam) override {
        calls->push_back(id);
        return id;
    }
};

TEST(RandomSequence, SubclassEntriesFollowTheStandingAttachments) {
    test::FakeSubclassPlatform platform;
    MSubclass module(platform);
    platform.module = &module;
    const WindowHandle windows[] = {1001, 1002, static_cast<WindowHandle>(-3)};
    const std::uint32_t messages[] = {274, 786, 0xC100};
    for (WindowHandle w : windows) {
        platform.AddWindow(w, 0x4000 + (w & 0xFF));
    }
    std::vector<int> calls;
    std::vector<std::unique_ptr<Named>> clients;
    for (int i = 0; i < 4; ++i) {
        clients.push_back(std::make_unique<Named>(i));
        clients.back()->calls = &calls;
    }
    std::map<std::pair<WindowHandle, std::uint32_t>, std::vector<int>> model;

    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const WindowHandle w = windows[pick(3)];
        const std::uint32_t m = messages[pick(3)];
        const int ci = pick(4);
        ISubclass& client = *clients[static_cast<std::size_t>(ci)];
        std::vector<int>& list = model[{w, m}];
        const bool attached = std::find(list.begin(), list.end(), ci) != list.end();

        switch (pick(5)) {
        case 0:
        case 1:
            if (attached) {
                EXPECT_THROW(module.AttachMessage(client, w, m), RaisedError);
            } else {
                module.AttachMessage(client, w, m);
                list.push_back(ci);
            }
            break;
        case 2:
        case 3:
            module.DetachMessage(client, w, m);
            list.erase(std::remove(list.begin(), list.end(), ci), list.end());
            break;
        default: {
            calls.clear();
            const LResult r = platform.Send(w, m);
            EXPECT_EQ(calls, list);
            EXPECT_EQ(r, list.empty() ? platform.originalResult : list.back());
            break;
        }
        }

        for (WindowHandle win : windows) {
            std::uintptr_t standing = 0;
            for (std::uint32_t msg : messages) {
                const std::vector<int>& l = model[{win, msg}];
                standing += l.size();
                const auto n = static_cast<std::uintptr_t>(l.size());
                EXPECT_EQ(platform.GetProperty(win, MSubclass::MessageCountName(win, msg)), n);
                for (std::uintptr_t pos = 1; pos <= n; ++pos) {
                    EXPECT_EQ(platform.GetProperty(win, MSubclass::ClientName(win, msg, pos)),
                              reinterpret_cast<std::uintptr_t>(
                                  clients[static_cast<std::size_t>(l[pos - 1])].get()));
                }
                EXPECT_EQ(platform.Props(win).count(MSubclass::ClientName(win, msg, n + 1)), 0u);
            }
            const auto& props = platform.Props(win);
            if (standing == 0) {
                EXPECT_EQ(platform.windows[win].proc, 0x4000 + (win & 0xFF));
                EXPECT_EQ(props.count(MSubclass::WindowCountName(win)), 0u);
                EXPECT_EQ(props.count(MSubclass::OldProcName(win)), 0u);
            } else {
                EXPECT_EQ(platform.windows[win].proc, test::FakeSubclassPlatform::kReplacement);
                EXPECT_EQ(props.at(MSubclass::WindowCountName(win)), standing);
                EXPECT_EQ(props.at(MSubclass::OldProcName(win)), 0x4000 + (win & 0xFF));
            }
        }
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST(RandomSequence, EveryRunningTimerSitsInExactlyOnePosition) {
    test::FakeTimerPlatform platform;
    MTimer module(platform);
    constexpr int kTimers = 160;
    std::vector<std::shared_ptr<CTimer>> owned;
    std::vector<std::weak_ptr<CTimer>> all;
    std::vector<int> ticks(kTimers, 0);
    for (int i = 0; i < kTimers; ++i) {
        owned.push_back(CTimer::Create(module));
        owned.back()->OnThatTime([&ticks, i] { ++ticks[static_cast<std::size_t>(i)]; });
        all.push_back(owned.back());
    }
    // Mostly starts, so that the table fills up and the 101st start is tried.
    const std::int32_t intervals[] = {0, -3, 10, 20, 30, 40, 50, 60, 70, 80};
    int refused = 0;

    std::mt19937 rng(77);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::int16_t mark = 0;
    for (int step = 0; step < 6000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const auto i = static_cast<std::size_t>(pick(kTimers));
        std::shared_ptr<CTimer> t = all[i].lock();
        const int op = pick(32);
        if (op < 20 && t) {
            const std::int32_t v = intervals[pick(10)];
            const bool wasRunning = t->Interval() > 0;
            const bool starts = v > 0 && v != t->Interval();
            const int freeBefore = 100 - static_cast<int>(platform.running.size());
            if (starts && !wasRunning && freeBefore == 0) {
                EXPECT_THROW(t->Interval(v), RaisedError);
                EXPECT_EQ(t->Interval(), 0);
                ++refused;
            } else {
                t->Interval(v);
                EXPECT_EQ(t->Interval(), std::max(v, 0));
            }
        } else if (op == 20) {
            owned[i].reset(); // let go; a running timer lives on in the table
        } else if (!platform.running.empty()) {
            auto it = platform.running.begin();
            std::advance(it, pick(static_cast<int>(platform.running.size())));
            const std::vector<int> before = ticks;
            module.TimerProc(it->first);
            int changed = 0;
            for (int k = 0; k < kTimers; ++k) {
                changed +=
                    ticks[static_cast<std::size_t>(k)] != before[static_cast<std::size_t>(k)];
            }
            EXPECT_EQ(changed, 1);
        }
        t.reset();

        std::map<const CTimer*, int> places;
        for (int pos = 1; pos <= MTimer::kPositions; ++pos) {
            if (std::shared_ptr<CTimer> held = module.Position(pos)) {
                ++places[held.get()];
                EXPECT_LE(pos, module.HighWaterMark());
            }
        }
        std::size_t runningCount = 0;
        for (int k = 0; k < kTimers; ++k) {
            std::shared_ptr<CTimer> timer = all[static_cast<std::size_t>(k)].lock();
            const bool outside = owned[static_cast<std::size_t>(k)] != nullptr;
            if (!timer) {
                EXPECT_FALSE(outside);
                continue;
            }
            const bool running = timer->Interval() > 0;
            EXPECT_EQ(places[timer.get()], running ? 1 : 0);
            if (!outside) {
                EXPECT_TRUE(running); // only the table keeps it
            }
            runningCount += running;
        }
        EXPECT_EQ(platform.running.size(), runningCount);
        EXPECT_GE(module.HighWaterMark(), mark);
        mark = module.HighWaterMark();
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
    EXPECT_EQ(mark, 100);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace halcyra::test
