#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/modHotkey.h"
#include "support/SettingsFakes.h"

namespace halcyra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr WindowHandle kMain = 0x42;

struct SettingsHotkeys : ::testing::Test {
    Log log;
    FakeSettingsStore store{log};
    FakeHotkeyApi api{log};
    modHotkey hotkeys{api, store};
    SettingsHotkeys() { hotkeys.SetMainWindow(kMain); }

    Log Registrations() const {
        Log out;
        for (const auto& call : log) {
            if (call.rfind("register", 0) == 0 || call.rfind("unregister", 0) == 0) {
                out.push_back(call);
            }
        }
        return out;
    }
    std::vector<std::string> Slots() const {
        std::vector<std::string> out;
        for (int id = 1; id <= 7; ++id) {
            out.push_back(hotkeys.Slot(id));
        }
        return out;
    }
};

TEST_F(SettingsHotkeys, EmptyStoreReadsTheSevenLetterKeysAndRegistersNothing) {
    hotkeys.LoadHotkeys();
    EXPECT_THAT(log, ElementsAre("get HotKeyScreenSaver None", "get HotKeyMonitor None",
                                 "get HotKeyLogOff None", "get HotKeyShutdown None",
                                 "get HotKeyRestart None", "get HotKeyHibernate None",
                                 "get HotKeyStandby None"));
    EXPECT_EQ(hotkeys.Counter(), 0);
    EXPECT_THAT(Slots(), ElementsAre("", "", "", "", "", "", ""));
}

TEST_F(SettingsHotkeys, IdentifiersAreDenseInActionOrderWithTheCharacterCode) {
    // "a" is 97 (no case folding); "none" is four letters. A letter beyond ASCII (stored as
    // two bytes) is its ANSI code where that is one byte, and no key otherwise.
    const struct {
        std::uint32_t codePage;
        const char* standby;
        Log registered;
    } rows[] = {
        {1252, "\xC3\x84", {"register 66 1 3 97", "register 66 2 3 83", "register 66 3 3 196"}},
        // Not in the page: no best fit makes it the "L" of another action.
        {1252, "\xC5\x81", {"register 66 1 3 97", "register 66 2 3 83"}},
        // UTF-8 as the ANSI code page: ASCII as it is, "Ä" two bytes there too.
        {65001, "\xC3\x84", {"register 66 1 3 97", "register 66 2 3 83"}},
        {65001, "B", {"register 66 1 3 97", "register 66 2 3 83", "register 66 3 3 66"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.codePage) + " " + row.standby);
        log.clear();
        api.conversions.clear();
        api.codePage = row.codePage;
        store.values = {{"HotKeyMonitor", "a"},       {"HotKeyShutdown", "S"},
                        {"HotKeyRestart", "RR"},      {"HotKeyHibernate", ""},
                        {"HotKeyLogOff", "None"},     {"HotKeyStandby", row.standby},
                        {"HotKeyScreenSaver", "none"}};
        hotkeys.LoadHotkeys();
        Log registered;
        for (const auto& call : Registrations()) {
            if (call.rfind("register", 0) == 0) {
                registered.push_back(call);
            }
        }
        EXPECT_EQ(registered, row.registered);
        EXPECT_EQ(Slots()[0], "TurnOffMonitor");
        EXPECT_EQ(Slots()[1], "Shutdown");
        EXPECT_EQ(Slots()[2], row.registered.size() == 3 ? "Standby" : "");
        EXPECT_EQ(api.conversions.size(), (row.standby[0] & 0x80) ? 1u : 0u)
            << "ASCII needs no conversion";
    }
}

TEST_F(SettingsHotkeys, AllSevenAndReloadReleasesTheEarlierIdentifiersFirst) {
    for (const char* key : {"HotKeyScreenSaver", "HotKeyMonitor", "HotKeyLogOff", "HotKeyShutdown",
                            "HotKeyRestart", "HotKeyHibernate", "HotKeyStandby"}) {
        store.values[key] = std::string(1, static_cast<char>('A' + store.values.size()));
    }
    hotkeys.LoadHotkeys();
    EXPECT_EQ(hotkeys.Counter(), 7);
    EXPECT_THAT(Slots(), ElementsAre("ScreenSaver", "TurnOffMonitor", "LogOff", "Shutdown",
                                     "Restart", "Hibernate", "Standby"));
    store.values = {{"HotKeyStandby", "B"}};
    log.clear();
    hotkeys.LoadHotkeys();
    EXPECT_THAT(Registrations(),
                ElementsAre("unregister 66 1", "unregister 66 2", "unregister 66 3",
                            "unregister 66 4", "unregister 66 5", "unregister 66 6",
                            "unregister 66 7", "register 66 1 3 66"));
    EXPECT_THAT(Slots(), ElementsAre("Standby", "", "", "", "", "", ""));
}

TEST_F(SettingsHotkeys, ARefusedCombinationStillUsesItsIdentifierAndSlot) {
    store.values = {{"HotKeyLogOff", "L"}, {"HotKeyRestart", "L"}};
    hotkeys.LoadHotkeys();
    EXPECT_EQ(hotkeys.Counter(), 2);
    EXPECT_THAT(Slots(), ElementsAre("LogOff", "Restart", "", "", "", "", ""));
    EXPECT_EQ(hotkeys.RegisterNextHotkey(kMain, 3, 'L'), 0); // refused, counter raised anyway
    EXPECT_EQ(hotkeys.Counter(), 3);
}

TEST_F(SettingsHotkeys, RefusalsOfTheLatestLoadAreKeptAndHandedOutOnce) {
    store.values = {{"HotKeyMonitor", "M"},
                    {"HotKeyLogOff", "L"},
                    {"HotKeyRestart", "L"},
                    {"HotKeyStandby", "B"}};
    api.heldElsewhere = {'M'};
    hotkeys.LoadHotkeys();
    const auto named = [](const std::vector<RefusedHotkey>& refused) {
        std::vector<std::string> out;
        for (const auto& r : refused) {
            out.push_back(r.actionName + " " + r.letter);
        }
        return out;
    };
    // Held by another program, and a letter stored twice: both refused, in the action order.
    EXPECT_THAT(named(hotkeys.Refused()), ElementsAre("TurnOffMonitor M", "Restart L"));
    EXPECT_THAT(Slots(), ElementsAre("TurnOffMonitor", "LogOff", "Restart", "Standby", "", "", ""));
    EXPECT_THAT(named(hotkeys.TakeUnreportedRefusals()),
                ElementsAre("TurnOffMonitor M", "Restart L"));
    EXPECT_THAT(hotkeys.TakeUnreportedRefusals(), IsEmpty());
    EXPECT_EQ(hotkeys.Refused().size(), 2u) << "still known, only no longer news";

    api.heldElsewhere.clear();
    store.values.erase("HotKeyRestart");
    hotkeys.LoadHotkeys();
    EXPECT_THAT(hotkeys.Refused(), IsEmpty());
    EXPECT_THAT(hotkeys.TakeUnreportedRefusals(), IsEmpty());

    api.heldElsewhere = {'B'};
    hotkeys.LoadHotkeys(); // a new load brings its own news
    EXPECT_THAT(named(hotkeys.TakeUnreportedRefusals()), ElementsAre("Standby B"));
}

TEST_F(SettingsHotkeys, UnregisterAllReleasesOneToCounterAndKeepsTheNames) {
    store.values = {{"HotKeyShutdown", "S"}};
    hotkeys.LoadHotkeys();
    hotkeys.RegisterNextHotkey(7, 3, 'Q');
    log.clear();
    hotkeys.UnregisterAllHotkeys(9);
    EXPECT_THAT(log, ElementsAre("unregister 9 1", "unregister 9 2"));
    EXPECT_EQ(hotkeys.Counter(), 0);
    EXPECT_EQ(hotkeys.Slot(1), "Shutdown");
    for (std::int64_t id : {0LL, -1LL, 8LL, 0x100000001LL}) {
        EXPECT_THAT(hotkeys.Slot(id), IsEmpty()) << id;
    }
}

} // namespace
} // namespace halcyra::test
