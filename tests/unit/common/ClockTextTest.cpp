// The one grammar of a "when": what the dialogs, the stored choices and the command line
// accept, one row per text.
#include <gtest/gtest.h>

#include "common/ClockText.h"

namespace halcyra::clockText::test {
namespace {

TEST(ClockText, ClockTimesAndMinutesReadTheSameEverywhere) {
    const struct {
        const char* text;
        std::optional<ClockTime> clock;
        std::optional<int> minutes;
    } rows[] = {
        {"7:05", ClockTime{7, 5}, std::nullopt},
        {"07:05", ClockTime{7, 5}, std::nullopt},
        {"0:00", ClockTime{0, 0}, std::nullopt},
        {"23:59", ClockTime{23, 59}, std::nullopt},
        {"7:5", std::nullopt, std::nullopt},
        {"24:00", std::nullopt, std::nullopt},
        {"12:60", std::nullopt, std::nullopt},
        {"123:00", std::nullopt, std::nullopt},
        {":30", std::nullopt, std::nullopt},
        {"7:05:00", std::nullopt, std::nullopt},
        {"+7:05", std::nullopt, std::nullopt},
        {"7 :05", std::nullopt, std::nullopt},
        {"1", std::nullopt, 1},
        {"1440", std::nullopt, 1440},
        {"0030", std::nullopt, 30},
        {"0", std::nullopt, std::nullopt},
        {"1441", std::nullopt, std::nullopt},
        {"00030", std::nullopt, std::nullopt},
        {"-5", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {" 30", std::nullopt, std::nullopt},
        {"3O", std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseClockTime(row.text), row.clock) << row.text;
        EXPECT_EQ(ParseMinutes(row.text), row.minutes) << row.text;
    }
    EXPECT_EQ(ClockText(7, 5), "07:05");
    EXPECT_EQ(ClockText(23, 59), "23:59");
    EXPECT_EQ(ParseClockTime(ClockText(0, 0)), (ClockTime{0, 0})) << "written as it is read";
}

} // namespace
} // namespace halcyra::clockText::test
