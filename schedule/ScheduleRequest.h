#pragma once
// A power action asked for later, from the Schedule dialog or the command line, and the
// outcome of running an action. The dialog, the command line and the schedule share these.
#include <cstdint>
#include <string>

#include "actions/PowerActions.h"

namespace halcyra {

enum class ScheduleKind : std::uint8_t {
    In,   // minutes from now
    At,   // the next time the local clock shows hour:minute
    Idle, // minutes without keyboard or mouse input
    Ends, // when the last process of a program ends
};

struct ScheduleRequest {
    MenuEntry action = MenuEntry::Shutdown; // one of the nine power actions
    ScheduleKind kind = ScheduleKind::In;
    int minutes = 0;       // In and Idle: 1 to 1440
    int hour = 0;          // At: 0 to 23
    int minute = 0;        // At: 0 to 59
    std::string program{}; // Ends: a file name ("ffmpeg.exe") or a process id
    bool operator==(const ScheduleRequest&) const = default;
};

// The running program's schedule, as the dialog and forwarded command lines reach it.
enum class ArmResult : std::uint8_t {
    Armed,
    Kept,    // another was armed and the user chose to keep it
    Invalid, // the request is out of range; nothing changed
    Refused, // the program is not running or cannot be watched; nothing changed
};

class IScheduleControl {
public:
    virtual ~IScheduleControl() = default;
    // askBeforeReplacing: with one already armed, ask the user first (else replace it).
    virtual ArmResult Arm(const ScheduleRequest& request, bool askBeforeReplacing) = 0;
    // False when nothing was armed.
    virtual bool Cancel() = 0;
    // What is armed and when ("Shutdown at 23:30"); empty when nothing is.
    virtual std::string Status() const = 0;
    // Why the last Arm was Refused, naming the program.
    virtual std::string Refusal() const = 0;
};

} // namespace halcyra
