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

} // namespace halcyra
