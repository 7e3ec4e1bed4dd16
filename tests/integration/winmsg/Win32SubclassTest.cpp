// The subclassing module on real windows: the Win32 adapter, SendMessage and the property
// store of the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ErrorBoxAnswer.h"
#include "common/RaisedError.h"
#include "winmsg/GSubclass.h"
#include "winmsg/win32/Win32SubclassPlatform.h"

namespace halcyra::test {
namespace {

using Log = std::vector<std::string>;
Log g_log;

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr UINT kUnwatched = WM_APP + 3;

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) {
        g_log.push_back("old " + std::to_string(msg - WM_APP));
        return 1000 + static_cast<LRESULT>(msg - WM_APP) + static_cast<LRESULT>(wParam);
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow() {
    static const ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &OriginalProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "HalcyraSubclassProbe";
        return ::RegisterClassA(&wc);
    }();
    EXPECT_NE(cls, 0);
    return ::CreateWindowExA(0, "HalcyraSubclassProbe", "probe", WS_OVERLAPPED, 0, 0, 10, 10,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

WindowHandle H(HWND hwnd) {
    return reinterpret_cast<WindowHandle>(hwnd);
}

std::uintptr_t Prop(HWND hwnd, const std::string& name) {
    return reinterpret_cast<std::uintptr_t>(::GetPropA(hwnd, name.c_str()));
}

struct Client : ISubclass {
    Client(std::string n, LResult r) : name(std::move(n)), result(r) {}
    std::string name;
    LResult result;
    std::int32_t mode = ResponseOnly;
    std::function<void()> during;
    std::int32_t MsgResponse() override {
        g_log.push_back(name + ".MsgResponse");
        return mode;
    }
    void MsgResponse(std::int32_t RHS) override { mode = RHS; }
    LResult WindowProc(WindowHandle, std::uint32_t iMsg, WParam, LParam) override {
        g_log.push_back(name + ".WindowProc " + std::to_string(iMsg - WM_APP));
        if (during) {
            during();
        }
        return result;
    }
};

class Win32SubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        hwnd = MakeWindow();
        ASSERT_NE(hwnd, nullptr);
        original = ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    }
    void TearDown() override { ::DestroyWindow(hwnd); }

    MSubclass& module = win32::SubclassModule();
    HWND hwnd = nullptr;
    LONG_PTR original = 0;
    Client a{"A", 7};
    Client b{"B", 8};
};

TEST_F(Win32SubclassTest, AttachWritesTheEntriesAndDetachPutsTheProcedureBack) {
    module.AttachMessage(a, H(hwnd), kFirst);
    module.AttachMessage(b, H(hwnd), kFirst);
    module.AttachMessage(a, H(hwnd), kSecond);
    const std::string w = std::to_string(reinterpret_cast<std::intptr_t>(hwnd));
    const std::string first = std::to_string(kFirst);
    EXPECT_NE(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(Prop(hwnd, w), static_cast<std::uintptr_t>(original));
    EXPECT_EQ(Prop(hwnd, "C" + w), 3u);
    EXPECT_EQ(Prop(hwnd, w + "#" + first + "C"), 2u);
    EXPECT_EQ(Prop(hwnd, w + "#" + first + "#1"), reinterpret_cast<std::uintptr_t>(&a));
    EXPECT_EQ(Prop(hwnd, w + "#" + first + "#2"), reinterpret_cast<std::uintptr_t>(&b));

    module.DetachMessage(a, H(hwnd), kFirst);
    module.DetachMessage(a, H(hwnd), kSecond);
    EXPECT_NE(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    module.DetachMessage(b, H(hwnd), kFirst);
    EXPECT_EQ(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(::GetPropA(hwnd, w.c_str()), nullptr);
    EXPECT_EQ(::GetPropA(hwnd, ("C" + w).c_str()), nullptr);
    EXPECT_EQ(::GetPropA(hwnd, (w + "#" + first + "#1").c_str()), nullptr);
    EXPECT_EQ(::SendMessageA(hwnd, kFirst, 0, 0), 1001);
    // The adapter's cached atoms went with the entries.
    for (const std::string& gone : {w, "C" + w, w + "#" + first + "#1", w + "#" + first + "#2"}) {
        EXPECT_EQ(::GlobalFindAtomA(gone.c_str()), 0) << gone;
    }
}

// The adapter reads entries by cached atoms: what anyone writes by name is read back at once,
// and no atom is held for an entry that is gone.
TEST_F(Win32SubclassTest, ReadsByAtomFollowTheStoreAndHoldNoAtomOfAMissingEntry) {
    win32::Win32SubclassPlatform platform;
    const std::string name = "HalcyraProbe" + std::to_string(reinterpret_cast<std::intptr_t>(hwnd));
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 0u);
    platform.SetProperty(H(hwnd), name, 5);
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 5u);
    ::SetPropA(hwnd, name.c_str(), reinterpret_cast<HANDLE>(6));
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 6u);
    platform.RemoveProperty(H(hwnd), name);
    EXPECT_EQ(::GlobalFindAtomA(name.c_str()), 0);
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 0u);

    platform.SetProperty(H(hwnd), name, 7);
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 7u);
    ::RemovePropA(hwnd, name.c_str()); // behind the adapter's back
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 0u);
    EXPECT_EQ(::GlobalFindAtomA(name.c_str()), 0);
    platform.SetProperty(H(hwnd), name, 8);
    platform.SetProperty(H(hwnd), name, 0); // a zero entry reads like a missing one
    EXPECT_EQ(platform.GetProperty(H(hwnd), name), 0u);
    ::RemovePropA(hwnd, name.c_str());
    EXPECT_EQ(::GlobalFindAtomA(name.c_str()), 0);
}

struct ModeRow {
    std::int32_t mode;
    Log order;
    LRESULT result;
};

TEST_F(Win32SubclassTest, ResponseModesDecideWhenTheOriginalProcedureRuns) {
    const ModeRow rows[] = {
        {ResponseOnly, {"A.MsgResponse", "A.WindowProc 1", "A.MsgResponse"}, 7},
        {ResponseThenOld, {"A.MsgResponse", "A.WindowProc 1", "A.MsgResponse", "old 1"}, 1005},
        {OldThenResponse, {"A.MsgResponse", "old 1", "A.WindowProc 1", "A.MsgResponse"}, 7},
    };
    module.AttachMessage(a, H(hwnd), kFirst);
    for (const ModeRow& row : rows) {
        SCOPED_TRACE(row.mode);
        a.mode = row.mode;
        g_log.clear();
        EXPECT_EQ(::SendMessageA(hwnd, kFirst, 4, 0), row.result);
        EXPECT_EQ(g_log, row.order);
    }
    g_log.clear();
    EXPECT_EQ(::SendMessageA(hwnd, kUnwatched, 0, 0), 1003);
    EXPECT_EQ(g_log, (Log{"old 3"}));
    module.DetachMessage(a, H(hwnd), kFirst);
}

TEST_F(Win32SubclassTest, NestedSendAndTheOldProcedureFromInsideAClient) {
    module.AttachMessage(a, H(hwnd), kFirst);
    module.AttachMessage(b, H(hwnd), kSecond);
    LRESULT nested = 0, fromOld = 0;
    std::uint32_t current = 0;
    a.during = [&] {
        nested = ::SendMessageA(hwnd, kSecond, 0, 0);
        current = module.CurrentMessage();
        fromOld = module.CallOldWindowProc(H(hwnd), kUnwatched, 1, 0);
    };
    EXPECT_EQ(::SendMessageA(hwnd, kFirst, 0, 0), 7);
    EXPECT_EQ(nested, 8);
    EXPECT_EQ(current, kSecond);
    EXPECT_EQ(fromOld, 1004);
    EXPECT_EQ(g_log, (Log{"A.MsgResponse", "A.WindowProc 1", "B.MsgResponse", "B.WindowProc 2",
                          "B.MsgResponse", "old 3", "A.MsgResponse"}));
    GSubclass g(module);
    EXPECT_EQ(g.CallOldWindowProc(H(hwnd), kUnwatched, 2, 0), 1005);
    module.DetachMessage(a, H(hwnd), kFirst);
    module.DetachMessage(b, H(hwnd), kSecond);
}

// As from any handler of the program: the user is shown the error and the program ends.
TEST_F(Win32SubclassTest, ClientErrorIsShownAndEndsTheProgram) {
    struct Row {
        const char* name;
        std::function<void()> fail;
        const char* shown; // caption and text, the text's line breaks as blanks
    };
    const Row rows[] = {
        {"an error of the plumbing",
         [] { throw RaisedError(ObjectErrorNumber(13082), "probe", "Message already handled"); },
         "Halcyra: Run-time error '-2147208422':  Message already handled"},
        {"any other error", [] { throw std::runtime_error("client failed"); },
         "Halcyra: client failed"},
    };
    module.AttachMessage(a, H(hwnd), kFirst);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        a.during = row.fail;
        EXPECT_EXIT(
            {
                AnswerTheErrorBoxLater();
                ::SendMessageA(hwnd, kFirst, 0, 0);
            },
            ::testing::ExitedWithCode(1), row.shown);
    }
    a.during = nullptr;
    EXPECT_EQ(::SendMessageA(hwnd, kFirst, 0, 0), 7) << "this side of the test goes on";
    module.DetachMessage(a, H(hwnd), kFirst);
}

void ExpectRaised(const std::function<void()>& call, std::int32_t code,
                  const std::string& description) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ObjectErrorNumber(code));
        EXPECT_EQ(e.Source(), "halcyra_winmsg_integration.WindowProc");
        EXPECT_EQ(e.Description(), description);
    }
}

TEST_F(Win32SubclassTest, DestroyedWindowIsInvalid) {
    HWND gone = MakeWindow();
    ::DestroyWindow(gone);
    ExpectRaised([&] { module.AttachMessage(a, H(gone), kFirst); }, 13083, "Invalid window");
}

TEST_F(Win32SubclassTest, WindowOfAnotherProcessIsRefused) {
    // The bench's taskbar belongs to the desktop's explorer process.
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(tray, nullptr) << "the bench has no taskbar";
    const LONG_PTR before = ::GetWindowLongPtrA(tray, GWLP_WNDPROC);
    ExpectRaised([&] { module.AttachMessage(a, H(tray), kFirst); }, 13084,
                 "Can't modify external window");
    EXPECT_EQ(::GetWindowLongPtrA(tray, GWLP_WNDPROC), before);
    const std::string c = "C" + std::to_string(reinterpret_cast<std::intptr_t>(tray));
    EXPECT_EQ(::GetPropA(tray, c.c_str()), nullptr);
}

TEST_F(Win32SubclassTest, DuplicateAttachIsRefusedAndTheWindowCanStillBeReleased) {
    module.AttachMessage(a, H(hwnd), kFirst);
    ExpectRaised([&] { module.AttachMessage(a, H(hwnd), kFirst); }, 13082,
                 "Message already handled by another class");
    module.DetachMessage(a, H(hwnd), kFirst);
    EXPECT_EQ(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
}

} // namespace
} // namespace halcyra::test
