#pragma once
// The timer module wired to the real Win32 thread timers.
#include <cstdint>
#include <string>

#include "winmsg/ITimerPlatform.h"
#include "winmsg/MTimer.h"

namespace halcyra::win32 {

class Win32TimerPlatform final : public ITimerPlatform {
public:
    TimerId SetTimer(std::uint32_t milliseconds) override;
    void KillTimer(TimerId id) override;
    std::string ProgramName() override;
};

// The process-wide module behind the timer callback.
MTimer& TimerModule();

} // namespace halcyra::win32
