// The command line of scripts: its words, the record that carries it to a running copy, and
// what the running program does with it.
#include <gtest/gtest.h>

#include "commandline/CommandRequest.h"
#include "commandline/ForwardRecord.h"
#include "support/FakeAwakeControl.h"
#include "support/FakeScheduleControl.h"
#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

TEST(ParseCommand, ReadsEveryVerbAndRefusesWhatIsWrong) {
    // expect: "" no command (a start); "= " and the request in its plain words; "! " and a part of
    // the message that says what was wrong, after "(quiet) " when /quiet stands on the line.
    // clang-format off
    const struct {
        std::string text;
        std::string expect;
    } rows[] = {
        {"", ""}, {"/start", ""}, {"/START", ""}, {"/start /action shutdown", ""},
        {"/actions shutdown", ""}, {"C:\\Some Folder\\notes.txt", ""},
        {"/ACTION ShutDown /QUIET", "= /action shutdown /quiet"},
        {"/quiet\t/action  logoff ", "= /action logoff /quiet"},
        {"\"/action\" \"monitoroff\"", "= /action monitoroff"},
        {"/action \"monitor\"off", "= /action monitoroff"},
        {"/in 1440 /action restart", "= /action restart /in 1440"},
        {"/action shutdown /at 7:05 /quiet", "= /action shutdown /quiet /at 7:05"},
        {"/action shutdown /at 00:00", "= /action shutdown /at 0:00"},
        {"/action standby /at 23:59", "= /action standby /at 23:59"},
        {"/action hibernate /IDLE 0001", "= /action hibernate /idle 1"},
        {"/cancel", "= /cancel"}, {"/Status", "= /status"}, {"/?", "= /help"}, {"/HELP", "= /help"},
        {"/action bogus", "! \"bogus\" is not an action. The actions are: shutdown, restart"},
        {"/action", "! /action needs the name of an action"},
        {"/action \"monitor off\"", "! \"monitor off\" is not an action"},
        {"/action shut\x01" "down", "! \"shut?down\" is not an action"},
        {"/action " + std::string(100, 'x'), "! \"" + std::string(32, 'x') + "...\" is not"},
        {"/action shutdown /in", "! /in needs a number of minutes from 1 to 1440."},
        {"/action shutdown /in -1", "! 1 to 1440, not \"-1\""},
        {"/action shutdown /in 0", "! not \"0\""},
        {"/action shutdown /in 1441", "! not \"1441\""},
        {"/action shutdown /idle 99999999999", "! /idle needs a number"},
        {"/action shutdown /at 24:00", "! 00:00 to 23:59 (HH:MM), not \"24:00\""},
        {"/action shutdown /at 7:5", "! not \"7:5\""},
        {"/action shutdown /at 12:60", "! not \"12:60\""},
        {"/action shutdown /at", "! /at needs a time"},
        {"/action shutdown /in 5 /at 10:00", "! only one of /in, /at and /idle"},
        {"/action monitoroff /after ffmpeg.exe", "= /action monitoroff /after \"ffmpeg.exe\""},
        {"/action shutdown /AFTER 1234 /quiet", "= /action shutdown /quiet /after \"1234\""},
        {"/action shutdown /after a|b", "! /after needs a program's file name or process id, not \"a|b\""},
        {"/action shutdown /in 5 /after x.exe", "! only one of /in, /at, /idle and /after"},
        {"/awake /after x.exe", "! /awake takes /in, /at or /while, not /after."},
        {"/action shutdown /action restart", "! only one of /action, /cancel"},
        {"/cancel /quiet", "! (quiet) /cancel, /status and /help take no"},
        {"/in 5", "! Say which action"},
        {"/action shutdown /force", "! \"/force\" is not an option"},
        {"/action shutdown \"", "! \"\" is not an option"},
        {"/action shutdown" + std::string(600, ' '), "! at most 512 characters"},
        // Unattended even where the line is wrong: no box may wait for a click.
        {"/action bogus /quiet", "! (quiet) \"bogus\" is not an action"},
        {"/QUIET /action shutdown /in 0", "! (quiet) /in needs a number"},
        {"/quiet /quiet /action logoff", "! (quiet) /quiet is given twice."},
        {"/quiet", "! (quiet) Say which action"},
        {"/action shutdown /quiet" + std::string(600, ' '), "! (quiet) The command line is too long"},
        {"/action bogus \"/quiet\"", "! (quiet) \"bogus\""},
        {"/action bogus /quieter", "! \"bogus\" is not an action"},
        {"/awake", "= /awake"}, {"/AWAKE /in 30 /Display", "= /awake /in 30 /display"},
        {"/awake /at 18:00", "= /awake /at 18:00"}, {"/awake /at 7:05 /quiet", "= /awake /at 7:05 /quiet"},
        {"/awake /while ffmpeg.exe", "= /awake /while \"ffmpeg.exe\""},
        {"/display /awake /while \"My Render.exe\"", "= /awake /while \"My Render.exe\" /display"},
        {"/awake /while 1234", "= /awake /while \"1234\""},
        {"/awake off", "= /awake off"}, {"/awake OFF", "= /awake off"},
        {"/awake /idle 5", "! /awake takes /in, /at or /while, not /idle."},
        {"/awake /in 0", "! /in needs a number of minutes from 1 to 1440"},
        {"/awake /while", "! /while needs a program's file name or process id."},
        {"/awake /while \"\"", "! /while needs"},
        {"/awake /in 5 /while x.exe", "! only one of /in, /at, /idle and /while"},
        {"/awake /while x.exe /at 10:00", "! only one of /in, /at, /idle and /while"},
        {"/awake /at 10:00 /in 5", "! only one of /in, /at and /idle"},
        {"/awake /display /display", "! /display is given twice."},
        {"/awake /action shutdown", "! only one of /action, /cancel"},
        {"/action shutdown /display", "! /while and /display go with /awake only."},
        {"/awake off /in 5", "! /awake off takes no other options."},
        {"/while x.exe", "! Say which action"},
    };
    // clang-format on
    for (const auto& row : rows) {
        const ParsedCommand parsed = ParseCommand(row.text);
        const std::string seen =
            parsed.kind == ParsedCommand::Kind::NoCommand ? ""
            : parsed.kind == ParsedCommand::Kind::Request
                ? "= " + CommandText(parsed.request)
                : "! " + std::string(parsed.quiet ? "(quiet) " : "") + parsed.error;
        const std::string mark = row.expect.substr(0, 2);
        EXPECT_TRUE(seen.rfind(mark, 0) == 0 &&
                    seen.find(row.expect.substr(mark.size())) != std::string::npos &&
                    seen.empty() == row.expect.empty())
            << row.text << " -> " << seen;
        EXPECT_EQ(parsed.quiet, parsed.kind == ParsedCommand::Kind::Request
                                    ? parsed.request.quiet
                                    : row.expect.find("(quiet)") != std::string::npos)
            << row.text;
        // What a second copy hands on reads back the same.
        EXPECT_EQ(ParseCommand(CommandText(parsed.request)).request, parsed.request) << row.text;
    }
    const std::pair<const char*, MenuEntry> names[] = {
        {"shutdown", MenuEntry::Shutdown},       {"restart", MenuEntry::Restart},
        {"logoff", MenuEntry::Logoff},           {"standby", MenuEntry::Standby},
        {"hibernate", MenuEntry::Hibernate},     {"forceshutdown", MenuEntry::ShtdnNow},
        {"forcerestart", MenuEntry::RstrtNow},   {"monitoroff", MenuEntry::Monitor},
        {"screensaver", MenuEntry::ScreenSaver},
    };
    for (const auto& [name, entry] : names) {
        const CommandRequest request =
            ParseCommand("/action " + std::string(name) + " /in 5").request;
        EXPECT_EQ(request.action, entry) << name;
        EXPECT_EQ(request.schedule, (ScheduleRequest{entry, ScheduleKind::In, 5})) << name;
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
    const auto changed = [&](std::size_t at, char to) {
        return std::string(good).replace(at, 1, 1, to);
    };
    const struct {
        std::string bytes;
        const char* why;
    } rows[] = {
        {"", "empty"},
        {good.substr(0, 7), "shorter than the header"},
        {good.substr(0, good.size() - 1), "text cut short"},
        {good + "x", "a byte more than its length"},
        {changed(4, 6), "length says less"},
        {changed(0, 2), "another version"},
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
    const std::string usage(command::Usage());
    const std::string ask = "Ask(0x1234, Are you sure you want to shutdown?, Halcyra, Question)";
    const std::string failure =
        "Halcyra could not restart the computer.\n\nsystem text 5\n\nYou can try again or use "
        "the Start menu.";
    const std::string refused = "Tell(0x1234, " + failure + ", Halcyra, Exclamation)";
    const std::string quietly = "DebugOutput(Halcyra: " + failure + ")";
    // world: what differs from confirmation on, Yes answered, arming accepted and an armed
    // "Monitor Off in 5 minutes" to cancel or tell.
    // clang-format off
    const struct {
        const char* line;
        std::string world;
        int exitCode;
        std::string output;
        Log expected; // boxes, power requests, system commands and schedule calls, in order
    } rows[] = {
        {"/action monitoroff",              "",      0, "", {"SendSystemCommand(0x1234, 0xF170, 2)"}},
        {"/action shutdown",                "No",    1, "", {ask}},
        {"/action shutdown",                "",      0, "", {ask, "power.ExitWindowsEx(8, 0)"}},
        {"/action shutdown /quiet",         "",      0, "", {"power.ExitWindowsEx(8, 0)"}},
        {"/action restart",                 "off",   0, "", {"power.ExitWindowsEx(2, 0)"}},
        {"/action restart",                 "off fails", 1, "", {refused, "power.ExitWindowsEx(2, 0)"}},
        // Unattended, here or in a running copy: the exit code answers, no box waits.
        {"/action restart /quiet",          "fails", 1, "", {quietly, "power.ExitWindowsEx(2, 0)"}},
        {"/action monitoroff /in 5",        "",      0, "", {"Arm(ask)"}},
        {"/action monitoroff /in 5 /quiet", "",      0, "", {"Arm(replace)"}},
        {"/action monitoroff /in 5",        "Kept",  1, "", {"Arm(ask)"}},
        {"/action monitoroff /in 5",        "Invalid", 2, "", {"Arm(ask)"}},
        {"/action monitoroff /in 5",        "Refused", 1, "ffmpeg.exe is not running.", {"Arm(ask)"}},
        {"/cancel",                         "",      0, "", {"Cancel"}},
        {"/cancel",                         "empty", 3, "", {"Cancel"}},
        {"/status",                         "",      0, "Monitor Off in 5 minutes", {}},
        {"/status",                         "empty", 0, "Nothing is armed.", {}},
        {"/help",                           "",      0, usage, {}},
        {"/awake /in 30 /display",          "",      0, "", {"Start"}},
        {"/awake /while ffmpeg.exe",        "gone",  1, "ffmpeg.exe is not running.", {"Start"}},
        {"/awake /in 30",                   "bad",   2, "out", {"Start"}},
        {"/awake off",                      "awake", 0, "", {"Stop"}},
        {"/awake off",                      "",      3, "", {"Stop"}},
        {"/status",                         "awake", 0, "Kept awake until turned off\nMonitor Off in 5 minutes", {}},
        {"/status",                         "awake empty", 0, "Kept awake until turned off", {}},
    };
    // clang-format on
    for (const auto& row : rows) {
        const auto has = [&](const char* w) { return row.world.find(w) != std::string::npos; };
        FormBench bench;
        FakeScheduleControl schedule;
        bench.settings.values["Confirm"] = has("off") ? "0" : "1";
        bench.prompt.answers.push_back(has("No") ? Answer::No : Answer::Yes);
        if (has("fails")) {
            bench.power.failing["ExitWindowsEx"] = 5;
        }
        schedule.armResult = has("Kept")      ? ArmResult::Kept
                             : has("Invalid") ? ArmResult::Invalid
                             : has("Refused") ? ArmResult::Refused
                                              : ArmResult::Armed;
        schedule.refusal = "ffmpeg.exe is not running.";
        schedule.cancels = !has("empty");
        schedule.status = has("empty") ? "" : "Monitor Off in 5 minutes";
        FakeAwakeControl awake;
        awake.status = has("awake") ? "Kept awake until turned off" : "";
        awake.result = has("gone")
                           ? AwakeResult{AwakeOutcome::NotRunning, "ffmpeg.exe is not running."}
                       : has("bad") ? AwakeResult{AwakeOutcome::Invalid, "out"}
                                    : AwakeResult{AwakeOutcome::On, {}};
        // A copy that runs one action and ends: the setting is read, never written.
        bench.form.LoadForCommand();
        const CommandRequest request = ParseCommand(row.line).request;
        const CommandResult result = CarryOut(request, bench.form, schedule, awake);
        EXPECT_EQ(result, (CommandResult{row.exitCode, row.output})) << row.line << row.world;
        Log seen = Boxes(bench.log), power = Only(bench.log, "power.Exit");
        for (const Log& more : {Only(bench.log, "DebugOutput"), power,
                                Only(bench.log, "SendSystem"), schedule.calls, awake.calls}) {
            seen.insert(seen.end(), more.begin(), more.end());
        }
        EXPECT_EQ(seen, row.expected) << row.line << row.world;
        EXPECT_TRUE(Only(bench.log, "save ").empty()) << row.line;
        for (const ScheduleRequest& armed : schedule.armed) {
            EXPECT_EQ(armed, (ScheduleRequest{MenuEntry::Monitor, ScheduleKind::In, 5}));
        }
        for (const AwakeRequest& started : awake.started) {
            EXPECT_EQ(started, request.awake.value_or(AwakeRequest{})) << row.line;
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
} // namespace halcyra::test
