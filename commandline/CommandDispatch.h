#pragma once
// Carries out a command-line request in the program that holds the actions and the schedule:
// this one, or the running copy a second one forwarded it to.
#include <string>
#include <string_view>

#include "actions/IActionRunner.h"
#include "awake/IAwakeControl.h"
#include "commandline/CommandRequest.h"
#include "schedule/ScheduleRequest.h"

namespace halcyra {

struct CommandResult {
    int exitCode = command::kExitDone;
    std::string output; // to print for the caller; empty: nothing
    bool operator==(const CommandResult&) const = default;
};

namespace command {
inline constexpr std::string_view kNothingArmed = "Nothing is armed.";
// A running copy that does not answer in time may still carry the request out later, so the
// second copy never does it itself.
inline constexpr std::string_view kNoAnswer =
    "The running copy of Halcyra did not answer. The request was not carried out here; the "
    "running copy may still carry it out.";
inline constexpr std::string_view kTrayNotStarted = "Halcyra could not be started in the tray.";
} // namespace command

CommandResult CarryOut(const CommandRequest& request, IActionRunner& actions,
                       IScheduleControl& schedule);
// With keeping awake too: "/awake", "/awake off", and its line in "/status".
CommandResult CarryOut(const CommandRequest& request, IActionRunner& actions,
                       IScheduleControl& schedule, IAwakeControl& awake);

} // namespace halcyra
