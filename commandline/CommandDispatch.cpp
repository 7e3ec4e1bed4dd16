#include "commandline/CommandDispatch.h"

namespace halcyra {

CommandResult CarryOut(const CommandRequest& request, IActionRunner& actions,
                       IScheduleControl& schedule) {
    switch (request.verb) {
    case CommandVerb::Help:
        return {command::kExitDone, std::string(command::Usage())};
    case CommandVerb::Status: {
        const std::string status = schedule.Status();
        return {command::kExitDone, status.empty() ? std::string(command::kNothingArmed) : status};
    }
    case CommandVerb::Cancel:
        return {schedule.Cancel() ? command::kExitDone : command::kExitNothingToCancel, {}};
    case CommandVerb::Awake:
    case CommandVerb::AwakeOff:
        // A program without keeping awake holds nothing to start or stop.
        return {request.verb == CommandVerb::Awake ? command::kExitRefused
                                                   : command::kExitNothingToCancel,
                {}};
    case CommandVerb::Action:
        break;
    }
    if (request.schedule) {
        // /quiet replaces an armed one without asking, as it skips the action's question.
        switch (schedule.Arm(*request.schedule, !request.quiet)) {
        case ArmResult::Armed:
            return {command::kExitDone, {}};
        case ArmResult::Kept:
            return {command::kExitRefused, {}};
        case ArmResult::Refused:
            return {command::kExitRefused, schedule.Refusal()};
        case ArmResult::Invalid:
            break;
        }
        return {command::kExitWrongCommandLine, {}};
    }
    // The confirmation setting still decides whether it asks; /quiet only says never, and that
    // no failure waits in a box, in this copy or the running one it was forwarded to.
    return {actions.RunAction(request.action, !request.quiet,
                              request.quiet ? FailureBox::NotShown : FailureBox::Shown) ==
                    ActionOutcome::Done
                ? command::kExitDone
                : command::kExitRefused,
            {}};
}

CommandResult CarryOut(const CommandRequest& request, IActionRunner& actions,
                       IScheduleControl& schedule, IAwakeControl& awake) {
    switch (request.verb) {
    case CommandVerb::Status: {
        // A line for each of the two that is on.
        const std::string kept = awake.Status();
        const std::string armed = schedule.Status();
        if (kept.empty()) {
            break;
        }
        return {command::kExitDone, armed.empty() ? kept : kept + "\n" + armed};
    }
    case CommandVerb::AwakeOff:
        return {awake.Stop() ? command::kExitDone : command::kExitNothingToCancel, {}};
    case CommandVerb::Awake: {
        const AwakeResult result = awake.Start(request.awake.value_or(AwakeRequest{}));
        switch (result.outcome) {
        case AwakeOutcome::On:
            return {command::kExitDone, {}};
        case AwakeOutcome::Invalid:
            return {command::kExitWrongCommandLine, result.message};
        case AwakeOutcome::NotRunning:
        case AwakeOutcome::CannotOpen:
        case AwakeOutcome::Refused:
            break;
        }
        return {command::kExitRefused, result.message};
    }
    default:
        break;
    }
    return CarryOut(request, actions, schedule);
}

} // namespace halcyra
