// The program watcher: what a typed name or id finds, what is refused and how it is named, and
// the ends reported one by one.
#include <gtest/gtest.h>

#include <string>

#include "support/FakeProcessPort.h"
#include "watch/ProcessWatcher.h"

namespace halcyra::test {
namespace {

const std::vector<ProcessEntry> kRunning{
    {1234, "ffmpeg.exe"}, {1240, "FFmpeg.EXE"}, {600, "lsass.exe"}, {8, "blender.exe"}};

TEST(ProcessWatcher, WhatATypedProgramFindsAndHowARefusalNamesIt) {
    struct Row {
        std::string typed;
        std::map<ProcessId, WaitRefusal> refuse;
        std::map<ProcessId, std::string> reusedBy;
        WatchOutcome outcome;
        std::string program;
        std::size_t count;
        std::string message;
    };
    const std::string kProtected =
        " cannot be watched: it belongs to another user or is protected.";
    // clang-format off
    const Row rows[] = {
        {"ffmpeg.exe", {}, {}, WatchOutcome::Watching, "ffmpeg.exe", 2, ""},
        {" \"C:\\Tools\\FFMPEG\" ", {}, {}, WatchOutcome::Watching, "ffmpeg.exe", 2, ""},
        {"1240", {}, {}, WatchOutcome::Watching, "FFmpeg.EXE", 1, ""},
        // Ended, or its id given to another program, between the list and the open.
        {"ffmpeg.exe", {{1234, WaitRefusal::NotRunning}}, {}, WatchOutcome::Watching, "FFmpeg.EXE", 1, ""},
        {"blender.exe", {}, {{8, "notepad.exe"}}, WatchOutcome::NotRunning, "blender.exe", 0, "blender.exe is not running."},
        {"vlc.exe", {}, {}, WatchOutcome::NotRunning, "vlc.exe", 0, "vlc.exe is not running."},
        {"4321", {}, {}, WatchOutcome::NotRunning, "", 0, "No program runs with process id 4321."},
        {"ffmpeg.exe", {{1240, WaitRefusal::CannotOpen}}, {}, WatchOutcome::CannotOpen, "ffmpeg.exe", 0, "ffmpeg.exe" + kProtected},
        {"600", {{600, WaitRefusal::CannotOpen}}, {}, WatchOutcome::CannotOpen, "lsass.exe", 0, "lsass.exe (process 600)" + kProtected},
        {"", {}, {}, WatchOutcome::Invalid, "", 0, "\"\" is neither a program's file name nor a process id."},
        {"0", {}, {}, WatchOutcome::Invalid, "", 0, ""},
        {"99999999999", {}, {}, WatchOutcome::Invalid, "", 0, ""},
        {"a|b.exe", {}, {}, WatchOutcome::Invalid, "", 0, ""},
        {"..", {}, {}, WatchOutcome::Invalid, "", 0, ""},
        {std::string("ff\0mpeg.exe", 11), {}, {}, WatchOutcome::Invalid, "", 0, ""},
        {std::string(300, 'x') + ".exe", {}, {}, WatchOutcome::Invalid, "", 0, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        FakeProcessPort port;
        port.running = kRunning;
        port.refuse = row.refuse;
        port.reusedBy = row.reusedBy;
        ProcessWatcher watcher(port);
        const WatchResult result = watcher.Watch(row.typed, [](const WatchEnd&) {});
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.count, row.count);
        EXPECT_EQ(port.waits.size(), row.count) << "a refusal holds nothing open";
        EXPECT_EQ(watcher.Watching(), row.outcome == WatchOutcome::Watching);
        if (row.outcome != WatchOutcome::Invalid) {
            EXPECT_EQ(result.program, row.program);
        }
        if (!row.message.empty() || row.outcome == WatchOutcome::Watching) {
            EXPECT_EQ(result.message, row.message);
        } else {
            EXPECT_FALSE(result.message.empty());
        }
    }
}

TEST(ProcessWatcher, ReportsEachEndThenAllAndARefusalKeepsWhatWasWatched) {
    FakeProcessPort port;
    port.running = kRunning;
    std::vector<std::string> reports;
    ProcessWatcher watcher(port);
    const auto record = [&](const WatchEnd& end) {
        reports.push_back(std::to_string(end.id) + (end.AllEnded() ? " all" : " one"));
    };
    ASSERT_EQ(watcher.Watch("ffmpeg.exe", record).outcome, WatchOutcome::Watching);
    EXPECT_EQ(watcher.Watch("vlc.exe", record).outcome, WatchOutcome::NotRunning);
    EXPECT_EQ(watcher.Left(), 2U) << "the refusal changed nothing";
    port.End(8); // not watched
    port.End(1240);
    port.End(1234);
    EXPECT_EQ(reports, (std::vector<std::string>{"1240 one", "1234 all"}));
    EXPECT_FALSE(watcher.Cancel()) << "nothing left to cancel";

    // A replacement lets the first program's processes go; the process id watched alone.
    port.running = kRunning;
    ASSERT_EQ(watcher.Watch("ffmpeg", record).count, 2U);
    ASSERT_EQ(watcher.Watch("600", record).program, "lsass.exe");
    EXPECT_EQ(port.waits.size(), 1U);
    port.End(1234);
    EXPECT_EQ(reports.size(), 2U) << "no report from a process let go";
    EXPECT_TRUE(watcher.Cancel());
    EXPECT_TRUE(port.waits.empty());
}

} // namespace
} // namespace halcyra::test
