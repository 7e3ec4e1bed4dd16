#include "commandline/CommandRequest.h"

#include <algorithm>
#include <array>
#include <vector>

#include "actions/PowerActions.h"
#include "common/ClockText.h"
#include "watch/ProcessWatcher.h"

namespace halcyra {

namespace {

// The command words of the actions, in the table's order, joined by ", ".
std::string ActionList(std::size_t width = std::string::npos) {
    std::string out;
    std::size_t line = 0;
    for (const PowerAction& action : kPowerActions) {
        std::string word(action.word);
        if (&action != &kPowerActions.back()) {
            word += ",";
        }
        if (line != 0 && line + 1 + word.size() > width) {
            out += "\n      ";
            line = 0;
        } else if (line != 0) {
            out += " ";
            ++line;
        }
        out += word;
        line += word.size();
    }
    return out;
}

constexpr std::string_view kUsageOptions =
    "/quiet   no question first, even when the confirmation setting is on\n"
    "/in      in 1 to 1440 minutes\n"
    "/at      at the next 00:00 to 23:59 of the local clock\n"
    "/idle    after 1 to 1440 minutes without keyboard or mouse input\n"
    "/after   when a program (a file name or a process id) ends; processes of that name\n"
    "         started after arming are not awaited\n"
    "/cancel  ends what is armed; /status says what is armed\n"
    "/awake   keeps the computer awake until /awake off, or /in, /at or /while a program\n"
    "         (a file name or a process id) runs; /display keeps the screen on too\n"
    "\n"
    "Exit codes: 0 done or armed, 1 refused or answered No, 2 wrong command line,\n"
    "3 nothing to cancel.";

} // namespace

namespace command {
std::string Usage() {
    constexpr std::size_t kWidth = 75; // the list's lines, after "NAME: "
    return "Usage: Halcyra.exe [/start]\n"
           "       Halcyra.exe /action NAME [/quiet]\n"
           "                   [/in MINUTES | /at HH:MM | /idle MINUTES | /after PROGRAM]\n"
           "       Halcyra.exe /awake [/in MINUTES | /at HH:MM | /while PROGRAM] [/display]\n"
           "       Halcyra.exe /awake off | /cancel | /status | /? | /help\n"
           "\n"
           "NAME: " +
           ActionList(kWidth) + "\n" + std::string(kUsageOptions);
}

} // namespace command

namespace {

// The words that make a line one of these commands rather than an ordinary start.
constexpr std::array<std::string_view, 13> kWords{
    "/action", "/cancel", "/status", "/?",     "/help",    "/quiet", "/in",
    "/at",     "/idle",   "/awake",  "/while", "/display", "/after"};

const std::string kActionList = ActionList();

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Blanks separate words; double quotes group blanks into a word and are dropped, as the
// system's own argument splitting does for these plain words.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        if (i == text.size()) {
            break;
        }
        std::string word;
        bool quoted = false;
        for (; i < text.size() && (quoted || !IsBlank(text[i])); ++i) {
            if (text[i] == '"') {
                quoted = !quoted;
            } else {
                word += text[i];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

// A word as the user wrote it, safe to show: short, printable.
std::string Shown(std::string_view word) {
    constexpr std::size_t kShown = 32;
    std::string out;
    for (std::size_t i = 0; i < word.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (word.size() > kShown) {
        out += "...";
    }
    return "\"" + out + "\"";
}

ParsedCommand Wrong(std::string error) {
    ParsedCommand parsed;
    parsed.kind = ParsedCommand::Kind::Wrong;
    parsed.error = std::move(error);
    return parsed;
}

// "/awake" with its options as a request.
AwakeRequest AwakeOf(const std::optional<ScheduleRequest>& when,
                     const std::optional<std::string>& program, bool display) {
    AwakeRequest awake;
    awake.display = display;
    if (program) {
        awake.kind = AwakeKind::While;
        awake.program = *program;
    } else if (when && when->kind == ScheduleKind::At) {
        awake.kind = AwakeKind::Until;
        awake.hour = when->hour;
        awake.minute = when->minute;
    } else if (when) {
        awake.kind = AwakeKind::For;
        awake.minutes = when->minutes;
    }
    return awake;
}

// The words of a line that is one of these commands; length: the line's.
ParsedCommand ParseWords(const std::vector<std::string>& words, std::size_t length) {
    if (length > command::kMaxLength) {
        return Wrong("The command line is too long: at most " +
                     std::to_string(command::kMaxLength) + " characters.");
    }

    CommandRequest request;
    bool verbGiven = false;
    std::optional<ScheduleRequest> schedule;
    std::optional<std::string> program; // /while
    bool display = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string word = Lower(words[i]);
        const bool hasValue = i + 1 < words.size();
        if (word == "/action" || word == "/cancel" || word == "/status" || word == "/?" ||
            word == "/help" || word == "/awake") {
            if (verbGiven) {
                return Wrong("Give only one of /action, /cancel, /status, /help and /awake.");
            }
            verbGiven = true;
            if (word == "/awake") {
                request.verb = CommandVerb::Awake;
                if (hasValue && Lower(words[i + 1]) == "off") {
                    request.verb = CommandVerb::AwakeOff;
                    ++i;
                }
            } else if (word == "/action") {
                if (!hasValue) {
                    return Wrong(
                        "/action needs the name of an action: " + std::string(kActionList) + ".");
                }
                const std::string name = Lower(words[++i]);
                const auto* found =
                    std::find_if(kPowerActions.begin(), kPowerActions.end(),
                                 [&](const PowerAction& a) { return a.word == name; });
                if (found == kPowerActions.end()) {
                    return Wrong(Shown(words[i]) + " is not an action. The actions are: " +
                                 std::string(kActionList) + ".");
                }
                request.verb = CommandVerb::Action;
                request.action = found->entry;
            } else {
                request.verb = word == "/cancel"   ? CommandVerb::Cancel
                               : word == "/status" ? CommandVerb::Status
                                                   : CommandVerb::Help;
            }
        } else if (word == "/quiet") {
            if (request.quiet) {
                return Wrong("/quiet is given twice.");
            }
            request.quiet = true;
        } else if (word == "/display") {
            if (display) {
                return Wrong("/display is given twice.");
            }
            display = true;
        } else if (word == "/while") {
            if (schedule || program) {
                return Wrong("Give only one of /in, /at, /idle and /while.");
            }
            if (!hasValue || words[i + 1].empty()) {
                return Wrong("/while needs a program's file name or process id.");
            }
            program = words[++i];
        } else if (word == "/in" || word == "/idle" || word == "/at" || word == "/after") {
            if (program) {
                return Wrong("Give only one of /in, /at, /idle and /while.");
            }
            if (schedule) {
                return Wrong(word == "/after" || schedule->kind == ScheduleKind::Ends
                                 ? "Give only one of /in, /at, /idle and /after."
                                 : "Give only one of /in, /at and /idle.");
            }
            ScheduleRequest s;
            if (word == "/after") {
                s.kind = ScheduleKind::Ends;
                if (!hasValue || (ProcessWatcher::Id(words[i + 1]) == 0 &&
                                  ProcessWatcher::FileName(words[i + 1]).empty())) {
                    return Wrong("/after needs a program's file name or process id" +
                                 (hasValue ? ", not " + Shown(words[i + 1]) : std::string()) + ".");
                }
                s.program = words[i + 1];
            } else if (word == "/at") {
                s.kind = ScheduleKind::At;
                const auto at = hasValue ? clockText::ParseClockTime(words[i + 1]) : std::nullopt;
                if (at) {
                    s.hour = at->hour;
                    s.minute = at->minute;
                } else {
                    return Wrong("/at needs a time from 00:00 to 23:59 (HH:MM)" +
                                 (hasValue ? ", not " + Shown(words[i + 1]) : std::string()) + ".");
                }
            } else {
                s.kind = word == "/in" ? ScheduleKind::In : ScheduleKind::Idle;
                const std::optional<int> minutes =
                    hasValue ? clockText::ParseMinutes(words[i + 1]) : std::nullopt;
                if (!minutes) {
                    return Wrong(word + " needs a number of minutes from 1 to 1440" +
                                 (hasValue ? ", not " + Shown(words[i + 1]) : std::string()) + ".");
                }
                s.minutes = *minutes;
            }
            ++i;
            schedule = s;
        } else {
            return Wrong(Shown(words[i]) + " is not an option of Halcyra.");
        }
    }
    if (!verbGiven) {
        return Wrong("Say which action: /action NAME.");
    }
    if (request.verb == CommandVerb::Awake) {
        if (schedule &&
            (schedule->kind == ScheduleKind::Idle || schedule->kind == ScheduleKind::Ends)) {
            return Wrong(schedule->kind == ScheduleKind::Idle
                             ? "/awake takes /in, /at or /while, not /idle."
                             : "/awake takes /in, /at or /while, not /after.");
        }
        request.awake = AwakeOf(schedule, program, display);
        ParsedCommand parsed;
        parsed.kind = ParsedCommand::Kind::Request;
        parsed.request = request;
        return parsed;
    }
    if (program || display) {
        return Wrong("/while and /display go with /awake only.");
    }
    if (request.verb != CommandVerb::Action && (request.quiet || schedule)) {
        return Wrong(request.verb == CommandVerb::AwakeOff
                         ? "/awake off takes no other options."
                         : "/cancel, /status and /help take no other options.");
    }
    if (schedule) {
        schedule->action = request.action;
        request.schedule = schedule;
    }
    ParsedCommand parsed;
    parsed.kind = ParsedCommand::Kind::Request;
    parsed.request = request;
    return parsed;
}

std::string AwakeText(const CommandRequest& request) {
    std::string text = "/awake";
    const AwakeRequest awake = request.awake.value_or(AwakeRequest{});
    switch (awake.kind) {
    case AwakeKind::For:
        text += " /in " + std::to_string(awake.minutes);
        break;
    case AwakeKind::Until:
        text += " /at " + std::to_string(awake.hour) + ":" + clockText::TwoDigits(awake.minute);
        break;
    case AwakeKind::While:
        text += " /while \"" + awake.program + "\"";
        break;
    case AwakeKind::UntilOff:
        break;
    }
    if (awake.display) {
        text += " /display";
    }
    if (request.quiet) {
        text += " /quiet";
    }
    return text;
}

} // namespace

ParsedCommand ParseCommand(std::string_view arguments) {
    const std::vector<std::string> words = Words(arguments);
    if (words.empty() ||
        std::find(kWords.begin(), kWords.end(), Lower(words.front())) == kWords.end()) {
        return {};
    }
    ParsedCommand parsed = ParseWords(words, arguments.size());
    parsed.quiet = std::any_of(words.begin(), words.end(),
                               [](const std::string& word) { return Lower(word) == "/quiet"; });
    return parsed;
}

std::string CommandText(const CommandRequest& request) {
    switch (request.verb) {
    case CommandVerb::Cancel:
        return "/cancel";
    case CommandVerb::Status:
        return "/status";
    case CommandVerb::Help:
        return "/help";
    case CommandVerb::AwakeOff:
        return "/awake off";
    case CommandVerb::Awake:
        return AwakeText(request);
    case CommandVerb::Action:
        break;
    }
    std::string text = "/action ";
    if (const PowerAction* row = FindPowerAction(request.action)) {
        text += row->word;
    }
    if (request.quiet) {
        text += " /quiet";
    }
    if (const auto& s = request.schedule) {
        if (s->kind == ScheduleKind::At) {
            text += " /at " + std::to_string(s->hour) + ":" + clockText::TwoDigits(s->minute);
        } else if (s->kind == ScheduleKind::Ends) {
            text += " /after \"" + s->program + "\"";
        } else {
            text +=
                (s->kind == ScheduleKind::In ? " /in " : " /idle ") + std::to_string(s->minutes);
        }
    }
    return text;
}

} // namespace halcyra
