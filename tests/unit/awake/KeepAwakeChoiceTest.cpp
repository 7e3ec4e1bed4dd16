// The Keep awake dialog's choice as one table: what is stored comes back (odd values as their
// defaults), and what is typed becomes a request or the reason it cannot.
#include <gtest/gtest.h>

#include <map>

#include "awake/KeepAwakeChoice.h"
#include "support/SettingsFakes.h"

namespace halcyra::test {
namespace {

using Stored = std::map<std::string, std::string>;

TEST(KeepAwakeChoice, StoredValuesComeBackAndOddOnesFallBack) {
    struct Row {
        Stored stored;
        KeepAwakeChoice loaded;
    };
    const KeepAwakeChoice defaults;
    // clang-format off
    const Row rows[] = {
        {{}, defaults},
        {{{"KeepAwakeWhen", "While"}, {"KeepAwakeMinutes", "1440"}, {"KeepAwakeUntil", "23:59"},
          {"KeepAwakeProgram", "ffmpeg.exe"}, {"KeepAwakeDisplay", "1"}},
         {AwakeKind::While, 1440, 23, 59, "ffmpeg.exe", true}},
        {{{"KeepAwakeWhen", "until"}, {"KeepAwakeMinutes", "0"}, {"KeepAwakeUntil", "24:00"},
          {"KeepAwakeProgram", "a|b"}, {"KeepAwakeDisplay", "yes"}}, defaults},
        {{{"KeepAwakeMinutes", "1441"}, {"KeepAwakeUntil", std::string("0\0:00", 5)},
          {"KeepAwakeProgram", "1234"}}, defaults},
        {{{"KeepAwakeMinutes", "99999999999"}, {"KeepAwakeUntil", "7:05"}},
         {AwakeKind::UntilOff, 60, 7, 5, "", false}},
    };
    // clang-format on
    for (const Row& row : rows) {
        Log log;
        FakeSettingsStore store(log);
        store.values = row.stored;
        const KeepAwakeChoice loaded = KeepAwakeChoice::Load(store);
        EXPECT_EQ(loaded, row.loaded) << ::testing::PrintToString(row.stored);
        // What is written reads back as it was, and only under the dialog's own keys.
        FakeSettingsStore again(log);
        loaded.Save(again);
        EXPECT_EQ(KeepAwakeChoice::Load(again), loaded);
        EXPECT_EQ(again.values.size(), 5U);
        for (const std::string& line : log) {
            EXPECT_EQ(line.find("WRONG-PLACE"), std::string::npos) << line;
            EXPECT_NE(line.find(" KeepAwake"), std::string::npos) << line;
        }
    }
}

TEST(KeepAwakeChoice, TypedFieldsBecomeARequestOrSayWhatToPutRight) {
    struct Row {
        KeepAwakeFields fields;
        std::optional<AwakeRequest> request;
        std::string problem;
    };
    const std::string kMinutes = "Enter 1 to 1440 minutes.";
    const std::string kTime = "Enter a time from 00:00 to 23:59.";
    const std::string kProgram = "Choose a program or type its file name, such as ffmpeg.exe.";
    using K = AwakeKind;
    // clang-format off
    const Row rows[] = {
        {{K::UntilOff, "x", "x", "", true}, AwakeRequest{K::UntilOff, 0, 0, 0, "", true}, ""},
        {{K::For, "1", "", "", false}, AwakeRequest{K::For, 1, 0, 0, "", false}, ""},
        {{K::For, " 1440 ", "", "", false}, AwakeRequest{K::For, 1440, 0, 0, "", false}, ""},
        {{K::For, "0", "", "", false}, std::nullopt, kMinutes},
        {{K::For, "1441", "", "", false}, std::nullopt, kMinutes},
        {{K::Until, "", "23:59", "", false}, AwakeRequest{K::Until, 0, 23, 59, "", false}, ""},
        {{K::Until, "", "24:00", "", false}, std::nullopt, kTime},
        {{K::Until, "", "12:5", "", false}, std::nullopt, kTime},
        {{K::While, "", "", "ffmpeg.exe", false}, AwakeRequest{K::While, 0, 0, 0, "ffmpeg.exe", false}, ""},
        {{K::While, "", "", "\"C:\\Tools\\ffmpeg.exe\"", false}, AwakeRequest{K::While, 0, 0, 0, "ffmpeg.exe", false}, ""},
        {{K::While, "", "", "4242", false}, AwakeRequest{K::While, 0, 0, 0, "4242", false}, ""},
        {{K::While, "", "", "  ", false}, std::nullopt, kProgram},
    };
    // clang-format on
    const KeepAwakeChoice before;
    for (const Row& row : rows) {
        const KeepAwakeRead read = ReadKeepAwake(row.fields, before);
        EXPECT_EQ(read.request, row.request) << row.fields.minutes << row.fields.time;
        EXPECT_EQ(read.problem, row.problem) << row.fields.minutes << row.fields.time;
    }
    // The choice remembered keeps each valid field, the way chosen and the screen.
    const KeepAwakeRead read = ReadKeepAwake({K::For, "90", "7:30", "blender", true}, before);
    EXPECT_EQ(read.choice, (KeepAwakeChoice{K::For, 90, 7, 30, "blender.exe", true}));
}

} // namespace
} // namespace halcyra::test
