#include "winmsg/MTimer.h"

#include <utility>

namespace halcyra {

MTimer::MTimer(ITimerPlatform& platform) : platform_(platform) {}

MTimer::~MTimer() {
    for (std::shared_ptr<CTimer>& slot : table_) {
        if (std::shared_ptr<CTimer> timer = std::move(slot)) {
            platform_.KillTimer(timer->timerId_);
            timer->interval_ = 0;
            timer->module_ = nullptr;
        }
    }
}

std::shared_ptr<CTimer> MTimer::Position(int position) const {
    if (position < 1 || position > kPositions) {
        return nullptr;
    }
    return table_[static_cast<std::size_t>(position - 1)];
}

bool MTimer::CreateStep(CTimer& timer) {
    const TimerId id = platform_.SetTimer(static_cast<std::uint32_t>(timer.interval_));
    timer.TimerID(id);
    if (id == 0) {
        timer.Interval(0);
        return false;
    }
    for (int i = 0; i < kPositions; ++i) {
        std::shared_ptr<CTimer>& slot = table_[static_cast<std::size_t>(i)];
        if (!slot) {
            slot = timer.shared_from_this();
            if (i + 1 > highWater_) {
                highWater_ = static_cast<std::int16_t>(i + 1);
            }
            return true;
        }
    }
    // No position could ever route a tick to it: stop the thread timer again and leave the
    // timer stopped, so that its identifier cannot later match a timer that reuses it.
    platform_.KillTimer(id);
    timer.TimerID(0);
    timer.interval_ = 0;
    timer.RaiseError(CTimer::kTooManyTimers, "No more than 10 timers allowed per class");
}

void MTimer::RemoveStep(CTimer& timer) {
    for (int i = 0; i < highWater_; ++i) {
        std::shared_ptr<CTimer>& slot = table_[static_cast<std::size_t>(i)];
        if (slot && slot->TimerID() == timer.TimerID()) {
            platform_.KillTimer(slot->TimerID());
            // Released only after the slot is empty, in case this was the last reference.
            std::shared_ptr<CTimer> released = std::move(slot);
            return;
        }
    }
}

void MTimer::TimerProc(TimerId id) {
    for (int i = 0; i < highWater_; ++i) {
        const std::shared_ptr<CTimer>& slot = table_[static_cast<std::size_t>(i)];
        if (slot && slot->TimerID() == id) {
            // The handler may stop this very timer and so drop the table's reference.
            const std::shared_ptr<CTimer> timer = slot;
            timer->PulseTimer();
            return;
        }
    }
}

} // namespace halcyra
