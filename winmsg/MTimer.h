#pragma once
// The table of running timers and the one timer callback that routes each platform tick to
// its CTimer.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "winmsg/CTimer.h"
#include "winmsg/ITimerPlatform.h"

namespace halcyra {

class MTimer {
public:
    static constexpr int kPositions = 100;

    explicit MTimer(ITimerPlatform& platform);
    // Stops every thread timer still in the table and cuts its timers loose.
    ~MTimer();
    MTimer(const MTimer&) = delete;
    MTimer& operator=(const MTimer&) = delete;

    // The system timer callback's body: the tick of thread timer id.
    void TimerProc(TimerId id);

    // Highest position ever filled, never lowered.
    std::int16_t HighWaterMark() const { return highWater_; }
    // The timer at position 1 to 100, empty when none.
    std::shared_ptr<CTimer> Position(int position) const;

private:
    friend class CTimer;
    // Both return false when the platform refused the thread timer; CreateStep throws 13651
    // when the table is full.
    bool CreateStep(CTimer& timer);
    void RemoveStep(CTimer& timer);
    std::string ProgramName() { return platform_.ProgramName(); }

    ITimerPlatform& platform_;
    std::array<std::shared_ptr<CTimer>, kPositions> table_;
    std::int16_t highWater_ = 0;
};

} // namespace halcyra
