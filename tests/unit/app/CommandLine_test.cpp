#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace halcyra {
namespace {

TEST(ArgumentText, DropsTheProgramNameAndTheBlanksAfterIt) {
    const struct {
        const char* line;
        const char* arguments;
    } rows[] = {
        {"Halcyra.exe /start", "/start"},
        {"C:\\Tools\\Halcyra.exe   /start", "/start"},
        {"\"C:\\Program Files\\Halcyra\\Halcyra.exe\" /start", "/start"},
        {"\"C:\\Program Files\\Halcyra\\Halcyra.exe\"", ""},
        {"Halcyra.exe", ""},
        {"Halcyra.exe /start ", "/start "},
        {"Halcyra.exe /start extra", "/start extra"},
        {"Halcyra.exe \"/start\"", "\"/start\""},
        {"  Halcyra.exe\t/START", "/START"},
        {"\"unterminated /start", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ArgumentText(row.line), row.arguments) << row.line;
    }
}

TEST(ParseNumber, AcceptsOnlyWholeDecimalNumbers) {
    EXPECT_EQ(ParseNumber("1"), 1.0);
    EXPECT_EQ(ParseNumber(" 0 "), 0.0);
    EXPECT_EQ(ParseNumber("-2.5"), -2.5);
    for (const char* text : {"", " ", "abc", "1abc", "0x1", "inf", "nan", "1 2", "--1"}) {
        EXPECT_FALSE(ParseNumber(text).has_value()) << text;
    }
}

} // namespace
} // namespace halcyra
