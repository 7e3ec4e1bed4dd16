#include "tray/CSystrayIcon.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace halcyra::test {
namespace {

constexpr WindowHandle kOwner = 0x1A2B;
constexpr ImageHandle kIcon = 0x3C4D;
constexpr std::uint32_t kMouseMove = 512;

// Records every request with the record as it was at the call, in one log shared with the
// owner's events so that the order of requests and events can be asserted.
struct FakeNotifyIconApi : INotifyIconApi {
    struct Call {
        std::uint32_t message;
        NotifyIconRecord record;
    };
    std::vector<Call> calls;
    std::vector<std::string>* log = nullptr;
    std::deque<std::int32_t> results; // empty: succeed
    std::uint32_t error = 0;

    std::int32_t ShellNotifyIcon(std::uint32_t message, const NotifyIconRecord& record) override {
        calls.push_back({message, record});
        log->push_back("notify " + std::to_string(message));
        std::int32_t r = 1;
        if (!results.empty()) {
            r = results.front();
            results.pop_front();
        }
        return r;
    }
    std::uint32_t GetLastError() override {
        log->push_back("GetLastError");
        return error;
    }
    bool TaskbarExists() override { return true; }
};

struct RecordingOwner : ISystrayIconEvents {
    std::vector<std::string>* log = nullptr;
    bool throwOnError = false;
    void NIError(std::uint32_t ErrorNumber) override {
        log->push_back("NIError " + std::to_string(ErrorNumber));
        if (throwOnError) {
            throw std::runtime_error("owner gave up");
        }
    }
};

class SystrayIconTest : public ::testing::Test {
protected:
    SystrayIconTest() {
        api.log = &log;
        owner.log = &log;
    }
    void Init(std::string_view tip = "Halcyra") { icon.Initialize(kOwner, kIcon, tip, kMouseMove); }

    std::vector<std::string> log;
    FakeNotifyIconApi api;
    RecordingOwner owner;
    CSystrayIcon icon{api, &owner};
};

TEST_F(SystrayIconTest, InitializeFillsTheWholeRecordWithoutAPlatformCall) {
    Init();
    const NotifyIconRecord& r = icon.Record();
    EXPECT_EQ(r.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(r.hWnd, kOwner);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, kMouseMove);
    EXPECT_EQ(r.hIcon, kIcon);
    EXPECT_EQ(icon.TipText(), "Halcyra");
    EXPECT_FALSE(icon.Visible());
    EXPECT_TRUE(api.calls.empty());
}

// The tip field after storing a text: its 64 bytes and what the getter gives back.
struct TipRow {
    const char* name;
    std::string tip;
    std::string field; // the 64 bytes
    std::string readBack;
};

std::string Padded(std::string text) {
    text.push_back('\0');
    text.resize(64, ' ');
    return text;
}

const std::vector<TipRow>& TipRows() {
    static const std::vector<TipRow> rows = {
        {"empty", "", Padded(""), ""},
        {"short", "Halcyra", Padded("Halcyra"), "Halcyra"},
        {"exactly63", std::string(63, 'x'), std::string(63, 'x') + '\0', std::string(63, 'x')},
        {"exactly64", std::string(63, 'x') + "Y", std::string(63, 'x') + '\0',
         std::string(63, 'x')},
        {"long", std::string(300, 'z'), std::string(63, 'z') + '\0', std::string(63, 'z')},
        {"embeddedNul", std::string("ab\0cd", 5), Padded(std::string("ab\0cd", 5)), "ab"},
        {"highCodePage", "Gr\xFC\xDF", Padded("Gr\xFC\xDF"), "Gr\xFC\xDF"},
    };
    return rows;
}

TEST_F(SystrayIconTest, TipFieldHoldsAtMost63CharactersThenNulThenSpaces) {
    for (const TipRow& row : TipRows()) {
        SCOPED_TRACE(row.name);
        Init(row.tip);
        EXPECT_EQ(std::string(icon.Record().szTip, 64), row.field);
        EXPECT_EQ(icon.TipText(), row.readBack);

        icon.UpdateOnChange(false);
        icon.TipText("something else entirely");
        icon.TipText(row.tip);
        EXPECT_EQ(std::string(icon.Record().szTip, 64), row.field);
        EXPECT_EQ(icon.TipText(), row.readBack);
    }
}

TEST_F(SystrayIconTest, ShowTwiceIssuesOneAdd) {
    Init();
    EXPECT_TRUE(icon.ShowIcon());
    EXPECT_FALSE(icon.ShowIcon());
    ASSERT_EQ(api.calls.size(), 1u);
    EXPECT_EQ(api.calls[0].message, INotifyIconApi::kAdd);
    EXPECT_EQ(api.calls[0].record.uFlags, 7u);
    EXPECT_EQ(api.calls[0].record.uID, 1u);
    EXPECT_TRUE(icon.Visible());
}

TEST_F(SystrayIconTest, RequestsThatDoNotApplyIssueNothing) {
    Init();
    EXPECT_FALSE(icon.HideIcon());
    EXPECT_FALSE(icon.Update());
    icon.TipText("hidden");
    icon.IconHandle(7);
    icon.CallbackMessage(1025);
    icon.Visible(false);
    EXPECT_TRUE(api.calls.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(SystrayIconTest, NeverShownInstanceIssuesNothingWhenDestroyed) {
    {
        CSystrayIcon local(api, &owner);
        local.Initialize(kOwner, kIcon, "x", kMouseMove);
    }
    EXPECT_TRUE(api.calls.empty());
}

TEST_F(SystrayIconTest, DestroyingAShownInstanceRemovesTheIcon) {
    {
        CSystrayIcon local(api, &owner);
        local.Initialize(kOwner, kIcon, "x", kMouseMove);
        local.Visible(true);
    }
    ASSERT_EQ(api.calls.size(), 2u);
    EXPECT_EQ(api.calls[1].message, INotifyIconApi::kDelete);
}

TEST_F(SystrayIconTest, DestructorSwallowsAThrowingOwner) {
    {
        CSystrayIcon local(api, &owner);
        local.Initialize(kOwner, kIcon, "x", kMouseMove);
        local.ShowIcon();
        api.results = {0};
        api.error = 1460;
        owner.throwOnError = true;
    }
    EXPECT_EQ(log.back(), "NIError 1460");
}

// A property change while shown with update-on-change on: one modify with only its bit.
struct SetterRow {
    const char* name;
    void (*set)(CSystrayIcon&);
    std::uint32_t flag;
};

TEST_F(SystrayIconTest, PropertyChangeWhileShownPushesOnlyItsMember) {
    const SetterRow rows[] = {
        {"IconHandle", [](CSystrayIcon& i) { i.IconHandle(0x99); }, 2},
        {"TipText", [](CSystrayIcon& i) { i.TipText("New tip"); }, 4},
        {"CallbackMessage", [](CSystrayIcon& i) { i.CallbackMessage(1024); }, 1},
    };
    for (const SetterRow& row : rows) {
        SCOPED_TRACE(row.name);
        api.calls.clear();
        Init();
        icon.ShowIcon();
        row.set(icon);
        ASSERT_EQ(api.calls.size(), 2u);
        EXPECT_EQ(api.calls[1].message, INotifyIconApi::kModify);
        EXPECT_EQ(api.calls[1].record.uFlags, row.flag);
        EXPECT_EQ(icon.Record().uFlags, 7u);
        icon.HideIcon();
    }
}

TEST_F(SystrayIconTest, ModifyCarriesTheNewValue) {
    Init();
    icon.ShowIcon();
    icon.TipText("Halcyra - two");
    ASSERT_EQ(api.calls.size(), 2u);
    EXPECT_STREQ(api.calls[1].record.szTip, "Halcyra - two");
}

TEST_F(SystrayIconTest, WithoutUpdateOnChangeOneUpdateSendsAllThreeMembers) {
    Init();
    icon.ShowIcon();
    icon.UpdateOnChange(false);
    icon.IconHandle(0x77);
    icon.TipText("later");
    icon.CallbackMessage(1030);
    EXPECT_EQ(api.calls.size(), 1u);
    EXPECT_TRUE(icon.Update());
    ASSERT_EQ(api.calls.size(), 2u);
    const NotifyIconRecord& sent = api.calls[1].record;
    EXPECT_EQ(api.calls[1].message, INotifyIconApi::kModify);
    EXPECT_EQ(sent.uFlags, 7u);
    EXPECT_EQ(sent.hIcon, 0x77u);
    EXPECT_STREQ(sent.szTip, "later");
    EXPECT_EQ(sent.uCallbackMessage, 1030u);
    EXPECT_TRUE(icon.Visible());
}

TEST_F(SystrayIconTest, InitializeOnAShownInstanceForgetsTheIconWithoutRemovingIt) {
    Init();
    icon.ShowIcon();
    Init("again");
    EXPECT_FALSE(icon.Visible());
    EXPECT_EQ(api.calls.size(), 1u);
    EXPECT_TRUE(icon.ShowIcon());
    ASSERT_EQ(api.calls.size(), 2u);
    EXPECT_EQ(api.calls[1].message, INotifyIconApi::kAdd);
    EXPECT_STREQ(api.calls[1].record.szTip, "again");
}

TEST_F(SystrayIconTest, InitializeTurnsUpdateOnChangeBackOn) {
    Init();
    icon.UpdateOnChange(false);
    Init();
    icon.ShowIcon();
    icon.TipText("pushed");
    EXPECT_EQ(api.calls.size(), 2u);
}

// A failed request: the error code is read at once and NIError arrives before the call returns.
struct FailureRow {
    const char* name;
    bool shownBefore;
    bool (*act)(CSystrayIcon&);
    std::uint32_t message;
    bool shownAfter;
    bool returnsResult;
};

TEST_F(SystrayIconTest, FailedRequestRaisesNIErrorWithTheSystemCodeAndChangesNoState) {
    const FailureRow rows[] = {
        {"add", false, [](CSystrayIcon& i) { return i.ShowIcon(); }, 0, false, true},
        {"delete", true, [](CSystrayIcon& i) { return i.HideIcon(); }, 2, true, true},
        {"modify", true, [](CSystrayIcon& i) { return i.Update(); }, 1, true, true},
        {"VisibleTrue", false,
         [](CSystrayIcon& i) {
             i.Visible(true);
             return true;
         },
         0, false, false},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        Init();
        if (row.shownBefore) {
            icon.ShowIcon();
        }
        log.clear();
        api.results = {0};
        api.error = 1460;
        const bool result = row.act(icon);
        EXPECT_EQ(log, (std::vector<std::string>{"notify " + std::to_string(row.message),
                                                 "GetLastError", "NIError 1460"}));
        if (row.returnsResult) {
            EXPECT_FALSE(result);
        }
        EXPECT_EQ(icon.Visible(), row.shownAfter);
        if (icon.Visible()) {
            icon.HideIcon();
        }
    }
}

TEST_F(SystrayIconTest, AFailedAddIsRememberedUntilAnyDeleteOrAFreshStart) {
    Init();
    api.results = {0};
    api.error = 1460; // the shell timed out: the icon may be there all the same
    icon.ShowIcon();
    EXPECT_TRUE(icon.AddFailed());
    EXPECT_FALSE(icon.HideIcon()) << "HideIcon still goes by the shown flag";
    log.clear();
    EXPECT_TRUE(icon.HideIconAnyway());
    EXPECT_EQ(log, std::vector<std::string>{"notify 2"});
    EXPECT_FALSE(icon.AddFailed());
    EXPECT_FALSE(icon.Visible());

    api.results = {0};
    icon.ShowIcon();
    Init();
    EXPECT_FALSE(icon.AddFailed()) << "a new taskbar holds none of the old icons";
    icon.ShowIcon();
    EXPECT_FALSE(icon.AddFailed());
    icon.HideIcon();
}

TEST_F(SystrayIconTest, FailedPropertyPushKeepsTheValueAndRestoresTheFlags) {
    Init();
    icon.ShowIcon();
    api.results = {0};
    api.error = 5;
    icon.IconHandle(0x55);
    EXPECT_EQ(log.back(), "NIError 5");
    EXPECT_EQ(icon.IconHandle(), 0x55u);
    EXPECT_EQ(icon.Record().uFlags, 7u);
    EXPECT_TRUE(icon.Visible());
}

TEST_F(SystrayIconTest, ThrowingOwnerStillLeavesTheFlagsWhole) {
    Init();
    icon.ShowIcon();
    api.results = {0};
    owner.throwOnError = true;
    EXPECT_THROW(icon.TipText("t"), std::runtime_error);
    EXPECT_EQ(icon.Record().uFlags, 7u);
    EXPECT_EQ(icon.TipText(), "t");
}

TEST_F(SystrayIconTest, FailureWithoutAnOwnerIsOnlyAFalseResult) {
    CSystrayIcon lone(api, nullptr);
    lone.Initialize(kOwner, kIcon, "x", kMouseMove);
    api.results = {0};
    EXPECT_FALSE(lone.ShowIcon());
    EXPECT_FALSE(lone.Visible());
}

TEST_F(SystrayIconTest, AnyNonzeroResultIsSuccess) {
    Init();
    api.results = {0x10000};
    EXPECT_TRUE(icon.ShowIcon());
    EXPECT_TRUE(icon.Visible());
}

} // namespace
} // namespace halcyra::test
