#include <gtest/gtest.h>

#include <limits>

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
    const struct {
        const char* text;
        double value;
    } numbers[] = {
        {"1", 1.0},
        {" 0 ", 0.0},
        {"-2.5", -2.5},
        {"+1", 1.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"10e-1", 1.0},
        {"0.1E1", 1.0},
        {"1e3", 1000.0},
        {"0.000125", 0.000125},
        {"1.00000000000000000000001", 1.0},
        {"12345678901234567890123", 12345678901234567890123.0},
        {"1e-99999", 0.0},
    };
    for (const auto& row : numbers) {
        EXPECT_EQ(ParseNumber(row.text), row.value) << row.text;
    }
    EXPECT_EQ(ParseNumber("1e99999"), std::numeric_limits<double>::infinity());
    for (const char* text : {"", " ", "abc", "1abc", "0x1", "inf", "nan", "1 2", "--1", ".", "-",
                             "e1", "1e", "1e+", "1.2.3", "1,5"}) {
        EXPECT_FALSE(ParseNumber(text).has_value()) << text;
    }
}

} // namespace
} // namespace halcyra
