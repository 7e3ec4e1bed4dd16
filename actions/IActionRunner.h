#pragma once
// How the schedule and the command line run a power action: through the menu entry's own
// handler, which reports a refusal itself.
#include <cstdint>

#include "actions/MenuEntry.h"
#include "actions/PowerActions.h"

namespace halcyra {

// Whether a failure ("unavailable", a refusal) may wait in a box for a click. Nobody clicks for
// an unattended caller (/quiet), here or in a running copy: its outcome is the answer, and the
// reason goes to the debugger's output.
enum class FailureBox : std::uint8_t { Shown, NotShown };

class IActionRunner {
public:
    virtual ~IActionRunner() = default;
    // askFirst false skips the Yes/No question (a schedule or an unattended command line has
    // been confirmed already); true asks as the user set it.
    virtual ActionOutcome RunAction(MenuEntry entry, bool askFirst, FailureBox failures) = 0;
};

} // namespace halcyra
