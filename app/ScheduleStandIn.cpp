// STAND-IN until the schedule itself is merged (see ScheduleStandIn.h).
#include "app/ScheduleStandIn.h"

#include "app/HalcyraForm.h"

namespace halcyra {

namespace {
std::string Name(MenuEntry entry) {
    switch (entry) {
    case MenuEntry::Shutdown:
        return "Shutdown";
    case MenuEntry::Restart:
        return "Restart";
    case MenuEntry::Logoff:
        return "Log Off";
    case MenuEntry::Standby:
        return "Standby";
    case MenuEntry::Hibernate:
        return "Hibernate";
    case MenuEntry::ShtdnNow:
        return "Forced Shutdown";
    case MenuEntry::RstrtNow:
        return "Forced Restart";
    case MenuEntry::Monitor:
        return "Monitor Off";
    default:
        return "Screen Saver";
    }
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}
} // namespace

ArmResult ScheduleStandIn::Arm(const ScheduleRequest& request, bool /*askBeforeReplacing*/) {
    const bool minutesOk = request.minutes >= 1 && request.minutes <= 1440;
    const bool timeOk =
        request.hour >= 0 && request.hour <= 23 && request.minute >= 0 && request.minute <= 59;
    if (request.kind == ScheduleKind::At ? !timeOk : !minutesOk) {
        return ArmResult::Invalid;
    }
    armed_ = request;
    return ArmResult::Armed;
}

bool ScheduleStandIn::Cancel() {
    const bool was = armed_.has_value();
    armed_.reset();
    return was;
}

std::string ScheduleStandIn::Status() const {
    if (!armed_) {
        return {};
    }
    const std::string name = Name(armed_->action);
    switch (armed_->kind) {
    case ScheduleKind::In:
        return name + " in " + std::to_string(armed_->minutes) + " minutes";
    case ScheduleKind::At:
        return name + " at " + TwoDigits(armed_->hour) + ":" + TwoDigits(armed_->minute);
    case ScheduleKind::Idle:
        return name + " after " + std::to_string(armed_->minutes) + " idle minutes";
    }
    return {};
}

IScheduleControl& HalcyraForm::Schedule() {
    static ScheduleStandIn standIn;
    return standIn;
}

} // namespace halcyra
