#pragma once
// How the schedule and the command line run a power action: through the menu entry's own
// handler, which reports a refusal itself.
#include "actions/MenuEntry.h"
#include "actions/PowerActions.h"

namespace halcyra {

class IActionRunner {
public:
    virtual ~IActionRunner() = default;
    // askFirst false skips the Yes/No question (a schedule or an unattended command line has
    // been confirmed already); true asks as the user set it.
    virtual ActionOutcome RunAction(MenuEntry entry, bool askFirst) = 0;
};

} // namespace halcyra
