#pragma once
// A timer object: set Interval in milliseconds and ThatTime is raised at every tick until
// Interval is set to 0. While it runs, the module's table holds a counted reference to it, so
// it keeps firing after its owner lets go; hence timers are only made through Create.
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "winmsg/ITimerPlatform.h"

namespace halcyra {

class MTimer;

class CTimer : public std::enable_shared_from_this<CTimer> {
    struct Token {};

public:
    static constexpr std::int32_t kTooManyTimers = 13651;
    static constexpr std::int32_t kCantCreateTimer = 13652;

    static std::shared_ptr<CTimer> Create(MTimer& module);
    CTimer(Token, MTimer& module);
    ~CTimer();
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    // Gets/sets a piece of additional data to store with the timer.
    const std::any& Item() const { return item_; }
    void Item(std::any value) { item_ = std::move(value); }

    // Gets/sets the interval at which the timer fires.  Set to zero to stop the timer.
    // Throws RaisedError 13651 or 13652.
    std::int32_t Interval() const { return interval_; }
    void Interval(std::int32_t iIntervalA);

    // Raised when the timer fires; runs inside the tick.
    void OnThatTime(std::function<void()> handler) { thatTime_ = std::move(handler); }
    void PulseTimer();

private:
    friend class MTimer;
    TimerId TimerID() const { return timerId_; }
    void TimerID(TimerId id) { timerId_ = id; }
    [[noreturn]] void RaiseError(std::int32_t code, const char* description);

    MTimer* module_;
    std::any item_;
    std::int32_t interval_ = 0;
    TimerId timerId_ = 0;
    std::function<void()> thatTime_;
};

} // namespace halcyra
