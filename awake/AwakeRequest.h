#pragma once
// Keeping the computer awake as the dialog, the command line and a schedule ask for it.
#include <cstdint>
#include <string>

#include "common/ClockText.h"

namespace halcyra {

enum class AwakeKind : std::uint8_t {
    UntilOff, // until the user turns it off
    For,      // for minutes from now
    Until,    // until the local clock next shows hour:minute
    While,    // while a program runs (a file name or a process id)
};

namespace awake {
inline constexpr int kMinMinutes = clockText::kMinMinutes;
inline constexpr int kMaxMinutes = clockText::kMaxMinutes;
} // namespace awake

struct AwakeRequest {
    AwakeKind kind = AwakeKind::UntilOff;
    int minutes = 0;      // For: 1 to 1440
    int hour = 0;         // Until: 0 to 23
    int minute = 0;       // Until: 0 to 59
    std::string program;  // While: "ffmpeg.exe" or "1234"
    bool display = false; // the screen stays on too
    bool operator==(const AwakeRequest&) const = default;
};

enum class AwakeOutcome : std::uint8_t {
    On,
    Invalid,    // out of range; nothing changed
    NotRunning, // While: the program does not run
    CannotOpen, // While: its processes cannot be opened
    Refused,    // the system refused the hold: nothing changed; or its end timer: it is off
};

struct AwakeResult {
    AwakeOutcome outcome = AwakeOutcome::Invalid;
    std::string message; // for a refusal, what the user is told
};

} // namespace halcyra
