#pragma once
// The command line of scripts and Task Scheduler: "/action NAME" with "/quiet" and one of
// "/in", "/at", "/idle" or "/after", "/awake" with "/in", "/at" or "/while" and "/display", "/awake
// off",
// "/cancel", "/status", "/?" and "/help". A line that does not start
// with one of these words is a start: "/start" in the tray, anything else an ordinary one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "actions/MenuEntry.h"
#include "awake/AwakeRequest.h"
#include "schedule/ScheduleRequest.h"

namespace halcyra {

enum class CommandVerb : std::uint8_t {
    Action,
    Cancel,
    Status,
    Help,
    Awake,    // keeps the computer awake as awake says
    AwakeOff, // "/awake off"
};

struct CommandRequest {
    CommandVerb verb = CommandVerb::Help;
    MenuEntry action = MenuEntry::Shutdown;  // Action
    bool quiet = false;                      // Action: no question first
    std::optional<ScheduleRequest> schedule; // Action: later rather than now
    std::optional<AwakeRequest> awake;       // Awake
    bool operator==(const CommandRequest&) const = default;
};

struct ParsedCommand {
    enum class Kind : std::uint8_t {
        NoCommand, // none of the command words: "/start" or an ordinary start
        Request,
        Wrong, // error says what was wrong; nothing is to be done
    };
    Kind kind = Kind::NoCommand;
    CommandRequest request;
    std::string error;
    // "/quiet" stands somewhere on a Request or Wrong line, even one that is wrong otherwise:
    // the caller is unattended, so nothing may wait in a box for an answer.
    bool quiet = false;
};

namespace command {
// Longer lines are refused whole: no script needs more, and the text travels to a running
// copy in a record of bounded size.
inline constexpr std::size_t kMaxLength = 512;

// The exit codes scripts see.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitWrongCommandLine = 2;
inline constexpr int kExitNothingToCancel = 3;

// The usage, its list of actions taken from kPowerActions.
std::string Usage();
} // namespace command

// The argument text (the command line after the program's name).
ParsedCommand ParseCommand(std::string_view arguments);

// The request in the plain words ParseCommand reads back: what a second copy hands on.
std::string CommandText(const CommandRequest& request);

} // namespace halcyra
