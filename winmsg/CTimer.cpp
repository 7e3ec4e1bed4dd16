#include "winmsg/CTimer.h"

#include <utility>

#include "common/RaisedError.h"
#include "winmsg/MTimer.h"

namespace halcyra {

std::shared_ptr<CTimer> CTimer::Create(MTimer& module) {
    return std::make_shared<CTimer>(Token{}, module);
}

CTimer::CTimer(Token, MTimer& module) : module_(&module) {}

// Only reached once the table has let go, so there is normally nothing left to stop.
CTimer::~CTimer() {
    Interval(0);
}

void CTimer::Interval(std::int32_t iIntervalA) {
    // The table may hold the last reference; removing the timer from it must not end this
    // object while its setter still runs. (Empty inside the destructor, where none is needed.)
    const std::shared_ptr<CTimer> keepAlive = weak_from_this().lock();

    if (iIntervalA > 0) {
        if (iIntervalA == interval_) {
            return;
        }
        if (interval_ != 0 && module_ != nullptr) {
            module_->RemoveStep(*this);
        }
        interval_ = iIntervalA;
        if (module_ == nullptr || !module_->CreateStep(*this)) {
            interval_ = 0;
            RaiseError(kCantCreateTimer, "Can't create system timer");
        }
    } else if (interval_ > 0) {
        interval_ = 0;
        if (module_ != nullptr) {
            module_->RemoveStep(*this);
        }
    }
}

void CTimer::PulseTimer() {
    if (thatTime_) {
        thatTime_();
    }
}

void CTimer::RaiseError(std::int32_t code, const char* description) {
    const std::string program = module_ != nullptr ? module_->ProgramName() : std::string();
    throw RaisedError(ObjectErrorNumber(code), program + ".WindowProc", description);
}

} // namespace halcyra
