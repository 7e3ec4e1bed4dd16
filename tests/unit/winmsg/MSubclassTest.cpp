#include "winmsg/MSubclass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/RaisedError.h"
#include "support/FakeSubclassPlatform.h"
#include "winmsg/GSubclass.h"

namespace halcyra::test {
namespace {

using Props = std::map<std::string, std::uintptr_t>;
using Log = std::vector<std::string>;

constexpr WindowHandle kWnd = 1234;
constexpr WindowProcAddress kOriginal = 0x1000;
constexpr std::uint32_t kSysCommand = 274;
constexpr std::uint32_t kHotkey = 786;

// Logs each question and call into the platform's log, so the dispatch order is one sequence.
struct Client : ISubclass {
    Client(std::string n, Log& l, LResult r) : name(std::move(n)), log(&l), result(r) {}
    std::string name;
    Log* log;
    LResult result;
    std::int32_t mode = ResponseOnly;
    std::function<void()> during; // runs inside WindowProc

    std::int32_t MsgResponse() override {
        log->push_back(name + ".MsgResponse");
        return mode;
    }
    void MsgResponse(std::int32_t RHS) override { mode = RHS; }
    LResult WindowProc(WindowHandle, std::uint32_t iMsg, WParam, LParam) override {
        log->push_back(name + ".WindowProc " + std::to_string(iMsg));
        if (during) {
            during();
        }
        return result;
    }
};

std::uintptr_t Ref(ISubclass& c) {
    return reinterpret_cast<std::uintptr_t>(&c);
}

class SubclassTest : public ::testing::Test {
protected:
    SubclassTest() {
        platform.module = &module;
        platform.AddWindow(kWnd, kOriginal);
    }

    FakeSubclassPlatform platform;
    MSubclass module{platform};
    Log& log = platform.log;
    Client a{"A", platform.log, 7};
    Client b{"B", platform.log, 8};
    Client c{"C", platform.log, 9};
};

TEST(SubclassEntryNames, AreSignedDecimalTexts) {
    struct Row {
        WindowHandle hwnd;
        std::uint32_t msg;
        std::string old, count, messageCount, client;
    };
    const Row rows[] = {
        {1234, 786, "1234", "C1234", "1234#786C", "1234#786#1"},
        {0x10050, 274, "65616", "C65616", "65616#274C", "65616#274#1"},
        {static_cast<WindowHandle>(-2), 0xC0DEu, "-2", "C-2", "-2#49374C", "-2#49374#1"},
        {5, 0xFFFFFFFFu, "5", "C5", "5#-1C", "5#-1#1"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MSubclass::OldProcName(r.hwnd), r.old);
        EXPECT_EQ(MSubclass::WindowCountName(r.hwnd), r.count);
        EXPECT_EQ(MSubclass::MessageCountName(r.hwnd, r.msg), r.messageCount);
        EXPECT_EQ(MSubclass::ClientName(r.hwnd, r.msg, 1), r.client);
    }
}

TEST_F(SubclassTest, FirstAttachInstallsTheReplacementAndWritesAllEntries) {
    module.AttachMessage(a, kWnd, kHotkey);
    EXPECT_EQ(platform.windows[kWnd].proc, FakeSubclassPlatform::kReplacement);
    EXPECT_EQ(platform.Props(kWnd),
              (Props{{"1234", kOriginal}, {"C1234", 1}, {"1234#786C", 1}, {"1234#786#1", Ref(a)}}));
    EXPECT_EQ(log, (Log{"install " + std::to_string(FakeSubclassPlatform::kReplacement)}));
}

TEST_F(SubclassTest, FurtherAttachesInstallNothingAndRaiseTheWindowCount) {
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(a, kWnd, kSysCommand);
    EXPECT_EQ(platform.Props(kWnd).at("C1234"), 2u);
    module.AttachMessage(b, kWnd, kHotkey);
    EXPECT_EQ(platform.Props(kWnd), (Props{{"1234", kOriginal},
                                           {"C1234", 3},
                                           {"1234#786C", 2},
                                           {"1234#786#1", Ref(a)},
                                           {"1234#786#2", Ref(b)},
                                           {"1234#274C", 1},
                                           {"1234#274#1", Ref(a)}}));
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& s) { return s.rfind("install", 0) == 0; }),
              1);
}

TEST_F(SubclassTest, DetachingEveryAttachmentInAnyOrderRestoresAtTheLast) {
    struct Attachment {
        Client* client;
        std::uint32_t msg;
    };
    std::array<int, 3> order{0, 1, 2};
    do {
        SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) +
                     std::to_string(order[2]));
        platform.AddWindow(kWnd, kOriginal);
        const Attachment all[] = {{&a, kSysCommand}, {&a, kHotkey}, {&b, kHotkey}};
        for (const Attachment& at : all) {
            module.AttachMessage(*at.client, kWnd, at.msg);
        }
        for (int step = 0; step < 3; ++step) {
            const Attachment& at = all[order[static_cast<std::size_t>(step)]];
            module.DetachMessage(*at.client, kWnd, at.msg);
            if (step < 2) {
                EXPECT_EQ(platform.windows[kWnd].proc, FakeSubclassPlatform::kReplacement);
                EXPECT_EQ(platform.Props(kWnd).at("C1234"), static_cast<std::uintptr_t>(2 - step));
            }
        }
        EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
        EXPECT_EQ(platform.Props(kWnd), (Props{{"1234#274C", 0}, {"1234#786C", 0}}));
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(SubclassTest, DetachKeepsPositionsDenseInAttachOrder) {
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(b, kWnd, kHotkey);
    module.AttachMessage(c, kWnd, kHotkey);
    module.DetachMessage(b, kWnd, kHotkey);
    const Props& p = platform.Props(kWnd);
    EXPECT_EQ(p.at("1234#786C"), 2u);
    EXPECT_EQ(p.at("1234#786#1"), Ref(a));
    EXPECT_EQ(p.at("1234#786#2"), Ref(c));
    EXPECT_EQ(p.count("1234#786#3"), 0u);
    EXPECT_EQ(p.at("C1234"), 2u);
}

TEST_F(SubclassTest, DetachWithoutAStandingAttachmentChangesNothing) {
    module.AttachMessage(a, kWnd, kHotkey);
    const Props before = platform.Props(kWnd);
    log.clear();
    module.DetachMessage(b, kWnd, kHotkey);     // another client
    module.DetachMessage(a, kWnd, kSysCommand); // another message
    module.DetachMessage(a, 999, kHotkey);      // no such window
    EXPECT_EQ(platform.Props(kWnd), before);
    module.DetachMessage(a, kWnd, kHotkey);
    module.DetachMessage(a, kWnd, kHotkey); // a second time
    EXPECT_EQ(platform.Props(kWnd), (Props{{"1234#786C", 0}}));
    EXPECT_EQ(log, (Log{"install " + std::to_string(kOriginal)}));
}

// One client: when the dispatcher asks it and when the previous procedure runs.
struct OneClientRow {
    std::int32_t mode;
    Log order;
    LResult result;
    int reads; // the previous procedure's entry is read only when that procedure runs
};

TEST_F(SubclassTest, ResponseModeOfASingleClientDecidesWhereThePreviousProcedureRuns) {
    const std::string old = "old 4096 786";
    const std::string ask = "A.MsgResponse", proc = "A.WindowProc 786";
    const OneClientRow rows[] = {
        {ResponseOnly, {ask, proc, ask}, 7, 2},
        {ResponseThenOld, {ask, proc, ask, old}, 100, 3},
        {OldThenResponse, {ask, old, proc, ask}, 7, 3},
        {5, {ask, proc, ask}, 7, 2},
        {-1, {ask, proc, ask}, 7, 2},
    };
    module.AttachMessage(a, kWnd, kHotkey);
    for (const OneClientRow& row : rows) {
        SCOPED_TRACE(row.mode);
        a.mode = row.mode;
        log.clear();
        platform.propertyReads = 0;
        EXPECT_EQ(platform.Send(kWnd, kHotkey), row.result);
        EXPECT_EQ(log, row.order);
        EXPECT_EQ(platform.propertyReads, row.reads);
    }
}

// A client that ends the window's subclassing inside its WindowProc: the dispatch still runs
// the procedure it found on the window, though the entry naming it is gone.
TEST_F(SubclassTest, ReleaseDuringDispatchKeepsThePreviousProcedureOfTheDispatch) {
    for (const std::int32_t mode : {ResponseThenOld, ResponseOnly}) {
        SCOPED_TRACE(mode);
        module.AttachMessage(a, kWnd, kHotkey);
        a.mode = mode;
        LResult fromOld = 0;
        a.during = [&] {
            module.DetachMessage(a, kWnd, kHotkey);
            EXPECT_EQ(platform.GetProperty(kWnd, "1234"), 0u);
            fromOld = module.CallOldWindowProc(kWnd, kHotkey, 1, 0);
        };
        log.clear();
        const LResult result = platform.Send(kWnd, kHotkey);
        EXPECT_EQ(fromOld, 101);
        EXPECT_EQ(result, mode == ResponseThenOld ? 100 : 7);
        EXPECT_EQ(std::count(log.begin(), log.end(), "old 4096 786"),
                  mode == ResponseThenOld ? 2 : 1);
        EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
        a.during = nullptr;
    }
}

// Two clients: only the first can ask for the call before, only the last for the call after.
struct TwoClientRow {
    std::int32_t first, last;
    Log order;
    LResult result;
};

TEST_F(SubclassTest, WithTwoClientsThePreviousProcedureRunsAtMostOnce) {
    const std::string old = "old 4096 786";
    const std::string askA = "A.MsgResponse", procA = "A.WindowProc 786";
    const std::string askB = "B.MsgResponse", procB = "B.WindowProc 786";
    const TwoClientRow rows[] = {
        {ResponseOnly, ResponseOnly, {askA, procA, procB, askB}, 8},
        {OldThenResponse, ResponseOnly, {askA, old, procA, procB, askB}, 8},
        {ResponseOnly, ResponseThenOld, {askA, procA, procB, askB, old}, 100},
        {OldThenResponse, ResponseThenOld, {askA, old, procA, procB, askB}, 8},
        {ResponseThenOld, OldThenResponse, {askA, procA, procB, askB}, 8},
    };
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(b, kWnd, kHotkey);
    for (const TwoClientRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.first) + "/" + std::to_string(row.last));
        a.mode = row.first;
        b.mode = row.last;
        log.clear();
        EXPECT_EQ(platform.Send(kWnd, kHotkey), row.result);
        EXPECT_EQ(log, row.order);
    }
}

TEST_F(SubclassTest, MessageWithoutClientsGoesToThePreviousProcedureUnchanged) {
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(b, kWnd, kSysCommand);
    module.DetachMessage(b, kWnd, kSysCommand); // its count entry stays at 0
    log.clear();
    EXPECT_EQ(platform.Send(kWnd, 15, 3), 103);
    EXPECT_EQ(platform.Send(kWnd, kSysCommand, 4), 104);
    EXPECT_EQ(log, (Log{"old 4096 15", "old 4096 274"}));
}

TEST_F(SubclassTest, DetachDuringDispatchLeavesAHoleThatGoesToThePreviousProcedure) {
    struct Row {
        const char* name;
        Client* detaches;
    };
    for (const Row& row : {Row{"itself", &a}, Row{"the later client", &b}}) {
        SCOPED_TRACE(row.name);
        platform.AddWindow(kWnd, kOriginal);
        module.AttachMessage(a, kWnd, kHotkey);
        module.AttachMessage(b, kWnd, kHotkey);
        Client* gone = row.detaches;
        a.during = [&] {
            module.DetachMessage(*gone, kWnd, kHotkey);
            EXPECT_EQ(platform.GetProperty(kWnd, "1234#786#2"), 0u);
        };
        log.clear();
        EXPECT_EQ(platform.Send(kWnd, kHotkey), 100);
        EXPECT_EQ(log, (Log{"A.MsgResponse", "A.WindowProc 786", "old 4096 786"}));
        a.during = nullptr;
        module.DetachMessage(gone == &a ? b : a, kWnd, kHotkey);
        EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
    }
}

TEST_F(SubclassTest, ClientCallsThePreviousProcedureThroughTheModule) {
    module.AttachMessage(a, kWnd, kHotkey);
    LResult fromOld = 0;
    std::uint32_t seen = 0;
    a.during = [&] {
        seen = module.CurrentMessage();
        fromOld = module.CallOldWindowProc(kWnd, kHotkey, 5, 0);
    };
    platform.propertyReads = 0;
    EXPECT_EQ(platform.Send(kWnd, kHotkey), 7);
    EXPECT_EQ(seen, kHotkey);
    EXPECT_EQ(fromOld, 105);
    EXPECT_EQ(platform.propertyReads, 3);        // count, client, and the previous procedure once
    EXPECT_EQ(module.CurrentMessage(), kHotkey); // kept after the dispatch
}

TEST_F(SubclassTest, NestedDispatchOverwritesTheCurrentValues) {
    constexpr WindowHandle kOther = 77;
    platform.AddWindow(kOther, 0x2000);
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(b, kOther, kSysCommand);
    std::uint32_t after = 0;
    a.during = [&] {
        platform.Send(kOther, kSysCommand);
        after = module.CurrentMessage();
        module.CallOldWindowProc(kWnd, kHotkey, 0, 0);
    };
    log.clear();
    platform.Send(kWnd, kHotkey);
    EXPECT_EQ(after, kSysCommand);
    EXPECT_EQ(log, (Log{"A.MsgResponse", "A.WindowProc 786", "B.MsgResponse", "B.WindowProc 274",
                        "B.MsgResponse", "old 8192 786", "A.MsgResponse"}));
}

// Each misuse: the raised error and what it leaves behind.
struct ErrorRow {
    const char* name;
    std::function<void(FakeSubclassPlatform&)> arrange;
    WindowHandle hwnd;
    std::int32_t number;
    std::string description;
};

TEST_F(SubclassTest, MisuseRaisesNumberedErrorsAndLeavesNoTrace) {
    const ErrorRow rows[] = {
        {"no such window", nullptr, 4321, -2147208421, "Invalid window"},
        {"other process", [](FakeSubclassPlatform& p) { p.AddWindow(555, 0x3000, 7); }, 555,
         -2147208420, "Can't modify external window"},
        {"install refused", [](FakeSubclassPlatform& p) { p.refuseInstall = true; }, kWnd,
         -2147208423, "Can't subclass window"},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.arrange) {
            row.arrange(platform);
        }
        log.clear();
        try {
            module.AttachMessage(a, row.hwnd, kHotkey);
            ADD_FAILURE() << "no error raised";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), row.number);
            EXPECT_EQ(e.Source(), "Halcyra.WindowProc");
            EXPECT_EQ(e.Description(), row.description);
        }
        for (auto& [hwnd, w] : platform.windows) {
            EXPECT_TRUE(w.props.empty()) << hwnd;
        }
        if (!platform.refuseInstall) {
            EXPECT_TRUE(log.empty());
        }
    }
    EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
}

TEST_F(SubclassTest, DuplicateAttachRaises13082AndGivesTheCountBack) {
    module.AttachMessage(a, kWnd, kHotkey);
    module.AttachMessage(b, kWnd, kHotkey);
    const Props before = platform.Props(kWnd);
    try {
        module.AttachMessage(b, kWnd, kHotkey);
        ADD_FAILURE() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), -2147208422);
        EXPECT_EQ(e.Number(), ObjectErrorNumber(13082));
        EXPECT_EQ(e.Source(), "Halcyra.WindowProc");
        EXPECT_EQ(e.Description(), "Message already handled by another class");
    }
    EXPECT_EQ(platform.Props(kWnd), before);
    module.DetachMessage(a, kWnd, kHotkey);
    module.DetachMessage(b, kWnd, kHotkey);
    EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
}

TEST_F(SubclassTest, GlobalObjectForwardsToTheModule) {
    GSubclass g(module);
    g.AttachMessage(a, kWnd, kHotkey);
    LResult fromOld = -1;
    a.during = [&] {
        platform.throwFromProcedure = true;
        fromOld = g.CallOldWindowProc(kWnd, kHotkey, 0, 0);
        platform.throwFromProcedure = false;
    };
    EXPECT_EQ(platform.Send(kWnd, kHotkey), 7);
    EXPECT_EQ(g.CurrentMessage(), kHotkey);
    EXPECT_EQ(fromOld, 0);
    EXPECT_EQ(g.CallOldWindowProc(kWnd, 1, 2, 0), 102);
    g.DetachMessage(a, kWnd, kHotkey);
    EXPECT_EQ(platform.windows[kWnd].proc, kOriginal);
}

} // namespace
} // namespace halcyra::test
