// The command line of scripts: its words, the record that carries it to a running copy, and
// what the running program does with it.
#include <gtest/gtest.h>

#include "app/CommandRequest.h"
#include "app/ForwardRecord.h"
#include "support/FakeScheduleControl.h"
#include "support/FormFakes.h"

namespace halcyra::testing {
namespace {

using Kind = ParsedCommand::Kind;

CommandRequest Act(MenuEntry entry, bool quiet = false) {
    return {CommandVerb::Action, entry, quiet, std::nullopt};
}
CommandRequest Later(MenuEntry entry, ScheduleKind kind, int minutes, int hour = 0, int minute = 0,
                     bool quiet = false) {
    return {CommandVerb::Action, entry, quiet, ScheduleRequest{entry, kind, minutes, hour, minute}};
}
CommandRequest Verb(CommandVerb verb) {
    return {verb, MenuEntry::Shutdown, false, std::nullopt};
}

TEST(ParseCommand, ReadsEveryVerbAndRefusesWhatIsWrong) {
    const std::string longName(100, 'x');
    const struct {
        std::string text;
        Kind kind;
        CommandRequest request;
        std::string error; // a part of the message
    } rows[] = {
        // Not one of the new words: the old meaning, whatever follows.
        {"", Kind::OldMeaning, {}, ""},
        {"/start", Kind::OldMeaning, {}, ""},
        {"/START", Kind::OldMeaning, {}, ""},
        {"/start /action shutdown", Kind::OldMeaning, {}, ""},
        {"/actions shutdown", Kind::OldMeaning, {}, ""},
        {"C:\\Some Folder\\notes.txt", Kind::OldMeaning, {}, ""},
        {"/action shutdown", Kind::Request, Act(MenuEntry::Shutdown), ""},
        {"/action restart", Kind::Request, Act(MenuEntry::Restart), ""},
        {"/action logoff", Kind::Request, Act(MenuEntry::Logoff), ""},
        {"/action standby", Kind::Request, Act(MenuEntry::Standby), ""},
        {"/action hibernate", Kind::Request, Act(MenuEntry::Hibernate), ""},
        {"/action forceshutdown", Kind::Request, Act(MenuEntry::ShtdnNow), ""},
        {"/action forcerestart", Kind::Request, Act(MenuEntry::RstrtNow), ""},
        {"/action monitoroff", Kind::Request, Act(MenuEntry::Monitor), ""},
        {"/action screensaver", Kind::Request, Act(MenuEntry::ScreenSaver), ""},
        {"/ACTION ShutDown /QUIET", Kind::Request, Act(MenuEntry::Shutdown, true), ""},
        {"/quiet\t/action  logoff ", Kind::Request, Act(MenuEntry::Logoff, true), ""},
        {"\"/action\" \"monitoroff\"", Kind::Request, Act(MenuEntry::Monitor), ""},
        {"/action \"monitor\"off", Kind::Request, Act(MenuEntry::Monitor), ""},
        {"/action monitoroff /in 5", Kind::Request, Later(MenuEntry::Monitor, ScheduleKind::In, 5),
         ""},
        {"/in 1440 /action restart", Kind::Request,
         Later(MenuEntry::Restart, ScheduleKind::In, 1440), ""},
        {"/action shutdown /at 7:05 /quiet", Kind::Request,
         Later(MenuEntry::Shutdown, ScheduleKind::At, 0, 7, 5, true), ""},
        {"/action shutdown /at 00:00", Kind::Request,
         Later(MenuEntry::Shutdown, ScheduleKind::At, 0, 0, 0), ""},
        {"/action standby /at 23:59", Kind::Request,
         Later(MenuEntry::Standby, ScheduleKind::At, 0, 23, 59), ""},
        {"/action hibernate /idle 0001", Kind::Request,
         Later(MenuEntry::Hibernate, ScheduleKind::Idle, 1), ""},
        {"/cancel", Kind::Request, Verb(CommandVerb::Cancel), ""},
        {"/Status", Kind::Request, Verb(CommandVerb::Status), ""},
        {"/?", Kind::Request, Verb(CommandVerb::Help), ""},
        {"/HELP", Kind::Request, Verb(CommandVerb::Help), ""},
        // Wrong: each says what.
        {"/action bogus", Kind::Wrong, {}, "\"bogus\" is not an action. The actions are: shutdown"},
        {"/action", Kind::Wrong, {}, "/action needs the name of an action"},
        {"/action \"monitor off\"", Kind::Wrong, {}, "\"monitor off\" is not an action"},
        {"/action shut\x01"
         "down",
         Kind::Wrong,
         {},
         "\"shut?down\" is not an action"},
        {"/action " + longName, Kind::Wrong, {}, "\"" + std::string(32, 'x') + "...\" is not"},
        {"/action shutdown /in", Kind::Wrong, {}, "/in needs a number of minutes from 1 to 1440."},
        {"/action shutdown /in -1", Kind::Wrong, {}, "1 to 1440, not \"-1\""},
        {"/action shutdown /in 0", Kind::Wrong, {}, "not \"0\""},
        {"/action shutdown /in 1441", Kind::Wrong, {}, "not \"1441\""},
        {"/action shutdown /in 5x", Kind::Wrong, {}, "not \"5x\""},
        {"/action shutdown /idle 99999999999", Kind::Wrong, {}, "/idle needs a number"},
        {"/action shutdown /at 24:00", Kind::Wrong, {}, "00:00 to 23:59 (HH:MM), not \"24:00\""},
        {"/action shutdown /at 7:5", Kind::Wrong, {}, "not \"7:5\""},
        {"/action shutdown /at 12:60", Kind::Wrong, {}, "not \"12:60\""},
        {"/action shutdown /at 1200", Kind::Wrong, {}, "not \"1200\""},
        {"/action shutdown /at :30", Kind::Wrong, {}, "not \":30\""},
        {"/action shutdown /at", Kind::Wrong, {}, "/at needs a time"},
        {"/action shutdown /in 5 /at 10:00", Kind::Wrong, {}, "only one of /in, /at and /idle"},
        {"/action shutdown /action restart", Kind::Wrong, {}, "only one of /action, /cancel"},
        {"/action shutdown /quiet /quiet", Kind::Wrong, {}, "/quiet is given twice"},
        {"/status /cancel", Kind::Wrong, {}, "only one of"},
        {"/cancel /quiet", Kind::Wrong, {}, "take no other options"},
        {"/in 5", Kind::Wrong, {}, "Say which action"},
        {"/action shutdown /force", Kind::Wrong, {}, "\"/force\" is not an option"},
        {"/action shutdown \"", Kind::Wrong, {}, "\"\" is not an option"},
        {"/action shutdown" + std::string(600, ' '), Kind::Wrong, {}, "at most 512 characters"},
    };
    for (const auto& row : rows) {
        const ParsedCommand parsed = ParseCommand(row.text);
        EXPECT_EQ(parsed.kind, row.kind) << row.text;
        if (row.kind == Kind::Request) {
            EXPECT_EQ(parsed.request, row.request) << row.text;
            // What a second copy hands on reads back the same.
            EXPECT_EQ(ParseCommand(CommandText(parsed.request)).request, row.request) << row.text;
        }
        EXPECT_NE(parsed.error.find(row.error), std::string::npos)
            << row.text << " -> " << parsed.error;
        EXPECT_EQ(parsed.error.empty(), row.kind != Kind::Wrong) << row.text;
    }
}

TEST(ForwardRecord, CarriesTextAndRefusesEveryMalformedRecord) {
    using forward::RecordKind;
    for (const std::string& text : std::vector<std::string>{
             "/action monitoroff /in 5", "Shutdown at 23:30",
             "Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", std::string(forward::kMaxText, 'x')}) {
        EXPECT_EQ(forward::Decode(RecordKind::Output, forward::Encode(RecordKind::Output, text)),
                  text);
    }
    const std::string good = forward::Encode(RecordKind::Command, "/cancel");
    std::string wrongVersion = good;
    wrongVersion[0] = 2;
    std::string lengthShort = good;
    lengthShort[4] = 6;
    const struct {
        std::string bytes;
        const char* why;
    } rows[] = {
        {"", "empty"},
        {good.substr(0, 7), "shorter than the header"},
        {good.substr(0, good.size() - 1), "text cut short"},
        {good + "x", "a byte more than its length"},
        {lengthShort, "length says less"},
        {wrongVersion, "another version"},
        {forward::Encode(RecordKind::Output, "/cancel"), "another kind"},
        {forward::Encode(RecordKind::Command, ""), "no text"},
        {forward::Encode(RecordKind::Command, std::string(forward::kMaxText + 1, 'x')), "long"},
        {forward::Encode(RecordKind::Command, std::string("/cancel\0x", 9)), "a zero"},
        {forward::Encode(RecordKind::Command, "/cancel\n"), "a control character"},
        {forward::Encode(RecordKind::Command, "\xc0\xaf"), "an overlong form"},
        {forward::Encode(RecordKind::Command, "\x80"), "a lone continuation byte"},
        {forward::Encode(RecordKind::Command, "\xed\xa0\x80"), "a surrogate"},
        {forward::Encode(RecordKind::Command, "\xe2\x82"), "a sequence cut short"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(forward::Decode(RecordKind::Command, row.bytes), std::nullopt) << row.why;
    }
}

TEST(CarryOut, RunsActionsAsTheMenuDoesAndReachesTheSchedule) {
    const auto monitor = ScheduleRequest{MenuEntry::Monitor, ScheduleKind::In, 5};
    const struct {
        const char* line;
        const char* confirm; // the stored setting
        std::optional<Answer> answer;
        ArmResult arm;
        bool cancels;
        const char* status;
        int exitCode;
        std::string output;
        Log expected; // boxes, power requests, system commands and schedule calls, in order
    } rows[] = {
        {"/action monitoroff",
         "1",
         {},
         ArmResult::Armed,
         true,
         "",
         0,
         "",
         {"SendSystemCommand(0x1234, 0xF170, 2)"}},
        {"/action shutdown",
         "1",
         Answer::No,
         ArmResult::Armed,
         true,
         "",
         1,
         "",
         {"AskYesNo(0x1234, Are you sure you want to shutdown?, Halcyra, Question)"}},
        {"/action shutdown",
         "1",
         Answer::Yes,
         ArmResult::Armed,
         true,
         "",
         0,
         "",
         {"AskYesNo(0x1234, Are you sure you want to shutdown?, Halcyra, Question)",
          "power.ExitWindowsEx(8, 0)"}},
        {"/action shutdown /quiet",
         "1",
         {},
         ArmResult::Armed,
         true,
         "",
         0,
         "",
         {"power.ExitWindowsEx(8, 0)"}},
        {"/action restart",
         "0",
         {},
         ArmResult::Armed,
         true,
         "",
         0,
         "",
         {"power.ExitWindowsEx(2, 0)"}},
        {"/action monitoroff /in 5", "1", {}, ArmResult::Armed, true, "", 0, "", {"Arm(ask)"}},
        {"/action monitoroff /in 5 /quiet",
         "1",
         {},
         ArmResult::Armed,
         true,
         "",
         0,
         "",
         {"Arm(replace)"}},
        {"/action monitoroff /in 5", "1", {}, ArmResult::Kept, true, "", 1, "", {"Arm(ask)"}},
        {"/action monitoroff /in 5", "1", {}, ArmResult::Invalid, true, "", 2, "", {"Arm(ask)"}},
        {"/cancel", "1", {}, ArmResult::Armed, true, "", 0, "", {"Cancel"}},
        {"/cancel", "1", {}, ArmResult::Armed, false, "", 3, "", {"Cancel"}},
        {"/status",
         "1",
         {},
         ArmResult::Armed,
         true,
         "Monitor Off in 5 minutes",
         0,
         "Monitor Off in 5 minutes",
         {}},
        {"/status", "1", {}, ArmResult::Armed, true, "", 0, "Nothing is armed.", {}},
        {"/help", "1", {}, ArmResult::Armed, true, "", 0, std::string(command::kUsage), {}},
    };
    for (const auto& row : rows) {
        FormBench bench;
        FakeScheduleControl schedule;
        bench.settings.values["Confirm"] = row.confirm;
        if (row.answer) {
            bench.windows.answers.push_back(*row.answer);
        }
        schedule.armResult = row.arm;
        schedule.cancels = row.cancels;
        schedule.status = row.status;
        // A copy that runs one action and ends: the setting is read, never written.
        bench.form.LoadForCommand();
        const ParsedCommand parsed = ParseCommand(row.line);
        const CommandResult result = CarryOut(parsed.request, bench.form, schedule);
        EXPECT_EQ(result, (CommandResult{row.exitCode, row.output})) << row.line;
        Log seen = Boxes(bench.log);
        for (const auto& line : bench.log) {
            if (line.rfind("power.Exit", 0) == 0 || line.rfind("SendSystem", 0) == 0) {
                seen.push_back(line);
            }
        }
        seen.insert(seen.end(), schedule.calls.begin(), schedule.calls.end());
        EXPECT_EQ(seen, row.expected) << row.line;
        EXPECT_TRUE(Only(bench.log, "save ").empty()) << row.line;
        if (!schedule.armed.empty()) {
            EXPECT_EQ(schedule.armed.front(), monitor) << row.line;
        }
    }
}

TEST(CarryOut, AForwardedRecordIsTakenOnlyByALoadedCopyAndOnlyWhenWellFormed) {
    FormBench bench;
    const std::string record = forward::Encode(forward::RecordKind::Command, "/action monitoroff");
    EXPECT_EQ(bench.form.CommandForwarded(record), std::nullopt) << "still starting up";
    bench.Start();
    for (const std::string& bad :
         std::vector<std::string>{record.substr(0, record.size() - 1),
                                  forward::Encode(forward::RecordKind::Command, "/start"),
                                  forward::Encode(forward::RecordKind::Command, "/action bogus")}) {
        EXPECT_EQ(bench.form.CommandForwarded(bad), std::nullopt);
    }
    EXPECT_TRUE(bench.log.empty());
    EXPECT_EQ(bench.form.CommandForwarded(record), CommandResult{});
    EXPECT_EQ(bench.log, Log{"SendSystemCommand(0x1234, 0xF170, 2)"});
}

} // namespace
} // namespace halcyra::testing
