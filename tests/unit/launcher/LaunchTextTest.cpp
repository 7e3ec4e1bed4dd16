#include <gtest/gtest.h>

#include <string>

#include "launcher/LaunchText.h"

namespace halcyra::test {
namespace {

TEST(LaunchTextTest, RefusesAnAppendThatWouldOverflowAndKeepsWhatItHad) {
    LaunchText text(std::string(LaunchText::kCapacity - 2, 'a'));
    EXPECT_FALSE(text.Append("xyz"));
    EXPECT_EQ(text.Size(), LaunchText::kCapacity - 2);
    EXPECT_TRUE(text.Append("xy"));
    EXPECT_EQ(text.Size(), LaunchText::kCapacity);
    EXPECT_FALSE(text.Append("z"));
    EXPECT_TRUE(text.Append(""));
    EXPECT_EQ(text.CStr()[text.Size()], '\0');
}

TEST(LaunchTextTest, KeepsEmbeddedNulsInItsViewAndTerminatesTheBuffer) {
    LaunchText text(std::string_view("a\0b", 3));
    EXPECT_EQ(text.Size(), 3u);
    EXPECT_EQ(text.View(), std::string_view("a\0b", 3));
    EXPECT_EQ(text.CStr()[3], '\0');
}

TEST(LaunchTextTest, SetSizeFromThePlatformIsClampedAndTerminated) {
    LaunchText text;
    text.Buffer()[0] = 'p';
    text.Buffer()[1] = 'q';
    text.SetSize(2);
    EXPECT_EQ(text.View(), "pq");
    text.SetSize(LaunchText::BufferSize() + 10);
    EXPECT_EQ(text.Size(), LaunchText::kCapacity);
    EXPECT_EQ(text.CStr()[LaunchText::kCapacity], '\0');
}

TEST(LaunchTextTest, TrimEndAndNumbers) {
    LaunchText text("File not found.\r\n");
    text.TrimEnd("\r\n .");
    EXPECT_EQ(text.View(), "File not found");
    LaunchText blank(" \r\n");
    blank.TrimEnd("\r\n ");
    EXPECT_TRUE(blank.View().empty());
    LaunchText number;
    number.AppendNumber(0);
    number.Append(",");
    number.AppendNumber(1409);
    EXPECT_EQ(number.View(), "0,1409");
}

} // namespace
} // namespace halcyra::test
