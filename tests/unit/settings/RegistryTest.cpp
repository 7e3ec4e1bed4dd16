#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Registry.h"
#include "settings/RegistrySettingsStore.h"
#include "settings/RunEntry.h"
#include "support/SettingsFakes.h"

namespace halcyra::test {
namespace {

using ::testing::ElementsAre;

const std::string kPath = "Software\\Test";
constexpr RegKey kHkcu = reg::kCurrentUser;

struct SettingsRegistry : ::testing::Test {
    Log log;
    FakeRegistryApi api{log};
    void Store(std::uint32_t type, std::string bytes) { api.keys[kPath]["v"] = {type, bytes}; }
    RegistryValue Read(RegistryValue def) {
        return registry::ReadValue(api, kHkcu, kPath, "v", def);
    }
};

TEST_F(SettingsRegistry, ReadValueTurnsEachStoredFormIntoTextNumberOrDefault) {
    using namespace std::string_literals;
    struct Row {
        std::uint32_t type;
        std::string bytes;
        RegistryValue expected;
    } rows[] = {
        {reg::kTypeSz, "abc\0"s, "abc"},
        {reg::kTypeSz, "abc  "s, "abc"},     // no terminator: whole, trailing blanks go
        {reg::kTypeSz, "abc  \0"s, "abc  "}, // blanks are trimmed before the cut at NUL
        {reg::kTypeSz, "ab\0cd\0"s, "ab"},
        {reg::kTypeSz, "abc"s, "abc"},
        {reg::kTypeSz, "\0"s, ""},
        {reg::kTypeSz, ""s, ""},
        {reg::kTypeExpandSz, "abc\0"s, "Z"},
        {reg::kTypeBinary, "\x01\x02"s, "Z"},
        {reg::kTypeMultiSz, "a\0b\0\0"s, "Z"},
        {reg::kTypeDword, "\x78\x56\x34\x12"s, 0x12345678},
        {reg::kTypeDword, "\xff\xff\xff\xff"s, -1},
    };
    for (const Row& row : rows) {
        Store(row.type, row.bytes);
        EXPECT_EQ(Read("Z"), row.expected) << row.type << " " << row.bytes;
        EXPECT_EQ(api.OpenHandles(), 0u);
    }
}

TEST_F(SettingsRegistry, ReadValueMakesTheExactCallsAndClosesWhatItOpened) {
    Store(reg::kTypeSz, std::string("abc\0", 4));
    Read("Z");
    Store(reg::kTypeDword, std::string(4, '\0'));
    Read("Z");
    EXPECT_THAT(log,
                ElementsAre("open 80000001 Software\\Test 0 1", "query 100 v type nodata 0",
                            "query 100 v data 4", "close 100", "open 80000001 Software\\Test 0 1",
                            "query 101 v type nodata 0", "query 101 v data 4", "close 101"));
}

TEST_F(SettingsRegistry, EveryFailedStepAnswersTheDefaultInItsOwnType) {
    EXPECT_EQ(Read(7), RegistryValue(7)); // no key: nothing to close
    EXPECT_THAT(log, ElementsAre("open 80000001 Software\\Test 0 1"));
    Store(reg::kTypeBinary, "x");
    EXPECT_EQ(registry::ReadValue(api, kHkcu, kPath, "absent", "Z"), RegistryValue("Z"));
    Store(reg::kTypeSz, "abc");
    api.failures["query#3"] = 5; // the data query of a text value
    EXPECT_EQ(Read("Z"), RegistryValue("Z"));
    Store(reg::kTypeDword, "1234");
    api.failures["query#5"] = 5;
    EXPECT_EQ(Read(3), RegistryValue(3));
    Store(reg::kTypeSz, "abc");
    api.reportedSize = 0xFFFFFFFFu; // size + 1 would wrap: never query into a short buffer
    EXPECT_EQ(Read("Z"), RegistryValue("Z"));
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST_F(SettingsRegistry, WriteStringValueCreatesTheKeyAndStoresTerminatedText) {
    EXPECT_EQ(registry::WriteStringValue(api, kHkcu, kPath, "v", "C:\\a b"), 0);
    EXPECT_THAT(log, ElementsAre("create 80000001 Software\\Test 0 noclass 0 f003f nosd noinherit",
                                 "set 100 v 0 1 7", "close 100"));
    EXPECT_EQ(api.keys[kPath]["v"].bytes, std::string("C:\\a b\0", 7));
    EXPECT_EQ(registry::WriteStringValue(api, kHkcu, kPath, "v", ""), 0);
    EXPECT_EQ(Read("Z"), RegistryValue("")); // empty text, not the default
}

TEST_F(SettingsRegistry, WriteStringValueReportsTheFailingStep) {
    api.failures["create#1"] = 5;
    EXPECT_EQ(registry::WriteStringValue(api, kHkcu, kPath, "v", "x"), 5);
    api.failures["set#1"] = 87;
    EXPECT_EQ(registry::WriteStringValue(api, kHkcu, kPath, "v", "x"), 87);
    EXPECT_EQ(log.back(), "close 100");
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST_F(SettingsRegistry, DeleteValueOpensWithFullAccessDeletesAndCloses) {
    Store(reg::kTypeSz, "x");
    registry::DeleteValue(api, kHkcu, kPath, "v");
    registry::DeleteValue(api, kHkcu, "Software\\Absent", "v"); // nothing opened, nothing closed
    api.failures["delete#2"] = 5;
    registry::DeleteValue(api, kHkcu, kPath, "v"); // a refused delete still closes the key
    EXPECT_THAT(log,
                ElementsAre("open 80000001 Software\\Test 0 f003f", "delete 100 v", "close 100",
                            "open 80000001 Software\\Absent 0 f003f",
                            "open 80000001 Software\\Test 0 f003f", "delete 101 v", "close 101"));
    EXPECT_EQ(api.keys[kPath].count("v"), 0u);
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST_F(SettingsRegistry, ReadStoredAsksOnceIntoTheGivenBufferWithReadAccessOnly) {
    using namespace std::string_literals;
    Store(reg::kTypeSz, "C:\\x\0"s);
    const auto stored = registry::Read(api, kHkcu, kPath, "v", 16);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, reg::kTypeSz);
    EXPECT_EQ(stored->bytes, "C:\\x\0"s);
    Store(reg::kTypeSz, std::string(17, 'a')); // does not fit: nothing
    EXPECT_FALSE(registry::Read(api, kHkcu, kPath, "v", 16));
    EXPECT_FALSE(registry::Read(api, kHkcu, "Software\\Absent", "v", 16));
    EXPECT_THAT(log, ElementsAre("open 80000001 Software\\Test 0 1", "query 100 v type data 16",
                                 "close 100", "open 80000001 Software\\Test 0 1",
                                 "query 101 v type data 16", "close 101",
                                 "open 80000001 Software\\Absent 0 1"));
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST_F(SettingsRegistry, AnOwnedKeyIsClosedOnceWhereverItsOwnerGoes) {
    Store(reg::kTypeSz, "x");
    {
        RegistryKey first = registry::OpenKey(api, kHkcu, kPath, registry::Access::Read);
        RegistryKey second = std::move(first);
        EXPECT_FALSE(first);
        RegistryKey third = registry::CreateKey(api, kHkcu, kPath, registry::Access::Write);
        third = std::move(second); // the key third held is closed here
        EXPECT_EQ(third.Get(), 100u);
        EXPECT_EQ(api.OpenHandles(), 1u);
    }
    long status = 0;
    EXPECT_FALSE(
        registry::OpenKey(api, kHkcu, "Software\\Absent", registry::Access::Read, &status));
    EXPECT_EQ(status, reg::kFileNotFound);
    EXPECT_THAT(log, ElementsAre("open 80000001 Software\\Test 0 1",
                                 "create 80000001 Software\\Test 0 noclass 0 2 nosd noinherit",
                                 "close 101", "close 100", "open 80000001 Software\\Absent 0 1"));
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST(SettingsTruncateAtNull, CutsAtTheFirstNul) {
    using namespace std::string_literals;
    EXPECT_EQ(registry::TruncateAtNull("abc"), "abc");
    EXPECT_EQ(registry::TruncateAtNull("a\0b\0"s), "a");
    EXPECT_EQ(registry::TruncateAtNull("\0abc"s), "");
    EXPECT_EQ(registry::TruncateAtNull(""), "");
}

TEST_F(SettingsRegistry, SettingsStoreKeepsTextUnderTheApplicationsKey) {
    RegistrySettingsStore store(api);
    EXPECT_EQ(store.GetSetting("Halcyra", "Settings", "Confirm", "1"), "1");
    store.SaveSetting("Halcyra", "Settings", "Confirm", "0");
    EXPECT_EQ(store.GetSetting("Halcyra", "Settings", "Confirm", "1"), "0");
    EXPECT_EQ(log[1], "create 80000001 Software\\Halcyra\\Settings 0 noclass 0 2 nosd noinherit");
    EXPECT_EQ(log[2], "set 100 Confirm 0 1 2");
    using namespace std::string_literals;
    auto& values = api.keys["Software\\Halcyra\\Settings"];
    values["k"] = {reg::kTypeSz, "S  "s}; // no terminator, blanks kept
    EXPECT_EQ(store.GetSetting("Halcyra", "Settings", "k", "None"), "S  ");
    values["k"] = {reg::kTypeDword, "\x01\0\0\0"s};
    EXPECT_EQ(store.GetSetting("Halcyra", "Settings", "k", "None"), "None");
    values["k"] = {reg::kTypeExpandSz, "S\0"s};
    EXPECT_EQ(store.GetSetting("Halcyra", "Settings", "k", "None"), "None");
    EXPECT_EQ(api.OpenHandles(), 0u);
}

TEST(SettingsRunEntryData, FolderNameAndStartArgumentQuotedOnlyWhenBlank) {
    // The name as the program hands it over: its file name without the extension.
    struct Row {
        const char* folder;
        const char* exeName;
        const char* expected;
    } rows[] = {
        {"C:\\Tools", "Halcyra", "C:\\Tools\\Halcyra.exe /start"},
        {"C:\\Tools", "Halcyra.v2", "C:\\Tools\\Halcyra.v2.exe /start"},
        {"C:\\Tools", "halcyra.portable", "C:\\Tools\\halcyra.portable.exe /start"},
        {"C:\\Tools", "my.tool", "C:\\Tools\\my.tool.exe /start"},
        {"C:\\", "Halcyra", "C:\\\\Halcyra.exe /start"},
        {"C:\\Program Files\\Halcyra", "Halcyra",
         "\"C:\\Program Files\\Halcyra\\Halcyra.exe\" /start"},
        {"C:\\Tools", "My Halcyra", "\"C:\\Tools\\My Halcyra.exe\" /start"},
        {"C:\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0", "Halcyra",
         "C:\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0\\Halcyra.exe /start"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(settings::RunEntryData(row.folder, row.exeName), row.expected);
    }
}

} // namespace
} // namespace halcyra::test
