#include <gtest/gtest.h>

#include <limits>

#include "commandline/CommandLine.h"

namespace halcyra::test {
namespace {

TEST(ArgumentText, DropsTheProgramNameAndTheBlanksAfterIt) {
    const std::string_view program = "C:\\Program Files\\Halcyra\\Halcyra.exe";
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
        {"   ", ""},
        // A legacy Run entry: the program's own path with blanks, unquoted.
        {"C:\\Program Files\\Halcyra\\Halcyra.exe /start", "/start"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe", ""},
        {"c:\\PROGRAM FILES\\halcyra\\HALCYRA.EXE /start", "/start"},
        {"C:\\Program Files\\Halcyra\\Halcyra /start", "/start"},
        {"  C:\\Program Files\\Halcyra\\Halcyra.exe\t/start", "/start"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe /start ", "/start "},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe /START", "/START"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe /start /start", "/start /start"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe  /start", "/start"},
        // Only the whole path counts, never the start of a longer name.
        {"C:\\Program Files\\Halcyra\\Halcyra.exe/start", "Files\\Halcyra\\Halcyra.exe/start"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe.bak /start",
         "Files\\Halcyra\\Halcyra.exe.bak /start"},
        {"C:\\Program Files\\Halcyra\\Halcyra.exe\"/start", "Files\\Halcyra\\Halcyra.exe\"/start"},
        {"C:\\Program Files\\Other\\Halcyra.exe /start", "Files\\Other\\Halcyra.exe /start"},
        {"C:\\Program", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ArgumentText(row.line, program), row.arguments) << row.line;
    }
}

TEST(ArgumentText, ComparesWithWhateverPathTheProgramHas) {
    using namespace std::string_literals;
    const std::string longFolder(40000, 'x');
    const std::string longLine = "C:\\" + longFolder + " y\\Halcyra.exe /start";
    const struct {
        std::string program;
        std::string line;
        std::string arguments;
    } rows[] = {
        // Letters outside ASCII, in UTF-8, compare byte for byte.
        {"C:\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0 \xd0\x9f\\Halcyra.exe",
         "C:\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0 \xd0\x9f\\Halcyra.exe /start", "/start"},
        // A program that cannot tell its path falls back to the first blank.
        {"", "C:\\Program Files\\Halcyra\\Halcyra.exe /start",
         "Files\\Halcyra\\Halcyra.exe /start"},
        {"", "Halcyra.exe /start", "/start"},
        {".exe", ".exe /start", "/start"},
        {".exe", "/start", ""},
        {"C:\\" + longFolder + " y\\Halcyra.exe", longLine, "/start"},
        {"C:\\A B\\Halcyra.exe", "C:\\A B\\Halcyra.exe\0/start"s, "B\\Halcyra.exe\0/start"s},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ArgumentText(row.line, row.program), row.arguments) << row.line.substr(0, 80);
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
} // namespace halcyra::test
