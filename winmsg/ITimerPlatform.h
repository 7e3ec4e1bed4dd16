#pragma once
// The platform's thread timers: no window, the one timer callback of the module.
#include <cstdint>
#include <string>

namespace halcyra {

using TimerId = std::uintptr_t; // UINT_PTR

class ITimerPlatform {
public:
    virtual ~ITimerPlatform() = default;
    // Starts a repeating thread timer whose ticks reach MTimer::TimerProc; returns its new
    // nonzero identifier, or 0 when the platform refuses.
    virtual TimerId SetTimer(std::uint32_t milliseconds) = 0;
    virtual void KillTimer(TimerId id) = 0;
    // The program's file name without directory and extension, the source of raised errors.
    virtual std::string ProgramName() = 0;
};

} // namespace halcyra
