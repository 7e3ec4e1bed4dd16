#include "dialogs/frmAbout.h"

#include "support/RecordingPlatform.h"

#include <gtest/gtest.h>

namespace halcyra::dialogs::test {
namespace {

struct StoredValue {
    std::uint32_t type;
    std::string bytes;
    long queryResult = 0;
    std::uint32_t reportedSize = 0; // the size the read reports; bytes.size() if 0
};

struct ValueRow {
    const char* name;
    StoredValue stored;
    bool read;
    std::string text; // the out text, which starts as "before"
};

class GetKeyValueTypes : public ::testing::TestWithParam<ValueRow> {};

TEST_P(GetKeyValueTypes, ReadsTextAndNumbersAndClosesTheKey) {
    RecordingPlatform fake;
    const StoredValue& stored = GetParam().stored;
    fake.registry.keys["K"]["V"] = {stored.type, stored.bytes};
    if (stored.queryResult != 0) {
        fake.registry.failures["query#1"] = stored.queryResult;
    }
    fake.registry.reportedDataSize = stored.reportedSize;
    frmAbout about(1, fake.Platform());
    std::string value = "before";
    EXPECT_EQ(about.GetKeyValue(reg::kLocalMachine, "K", "V", value), GetParam().read);
    EXPECT_EQ(value, GetParam().text);
    EXPECT_EQ(fake.log.back(), "close 100");
    EXPECT_EQ(fake.registry.OpenHandles(), 0u);
    EXPECT_EQ(fake.log[1], "query 100 V type data 1024") << "a 1024-character buffer is offered";
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) {
        s.push_back(static_cast<char>(b));
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueTypes,
    ::testing::Values(
        ValueRow{"Text", {reg::kTypeSz, std::string("C:\\x\0", 5)}, true, "C:\\x"},
        ValueRow{"TextWithoutTerminator", {reg::kTypeSz, "abc"}, true, "abc"},
        ValueRow{"EmptyText", {reg::kTypeSz, ""}, true, ""},
        ValueRow{"EmbeddedNul", {reg::kTypeSz, std::string("ab\0cd\0", 6)}, true, "ab"},
        ValueRow{
            "FullBuffer", {reg::kTypeSz, std::string(1024, 'x')}, true, std::string(1024, 'x')},
        // A size beyond the buffer is never trusted.
        ValueRow{"OversizeReport",
                 {reg::kTypeSz, std::string(1024, 'y'), 0, 5000},
                 true,
                 std::string(1024, 'y')},
        ValueRow{"Dword", {reg::kTypeDword, Bytes({0x10, 0, 0, 0})}, true, "16"},
        ValueRow{"DwordBytesInOrder",
                 {reg::kTypeDword, Bytes({0x78, 0x56, 0x34, 0x12})},
                 true,
                 "305419896"},
        ValueRow{
            "DwordHighBit", {reg::kTypeDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF})}, true, "4294967295"},
        ValueRow{"ShortDword", {reg::kTypeDword, Bytes({0x01, 0x02})}, true, "513"},
        ValueRow{"EmptyDword", {reg::kTypeDword, ""}, true, "0"},
        ValueRow{"ExpandText", {2, std::string("%x%\0", 4)}, true, "before"},
        ValueRow{"Binary", {3, Bytes({1, 2, 3})}, true, "before"},
        ValueRow{"QueryFails", {reg::kTypeSz, "", 5}, false, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GetKeyValue, MissingKeyIsNotClosed) {
    RecordingPlatform fake;
    frmAbout about(1, fake.Platform());
    std::string value = "before";
    EXPECT_FALSE(about.GetKeyValue(reg::kLocalMachine, "Nope", "V", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(fake.log, (std::vector<std::string>{"open 80000002 Nope 0 1"}));
}

} // namespace
} // namespace halcyra::dialogs::test
