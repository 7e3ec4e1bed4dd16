#pragma once
// STAND-IN until the schedule itself is merged: remembers one request and arms nothing.
// The schedule's own files replace this pair.
#include <optional>
#include <string>

#include "app/ScheduleRequest.h"

namespace halcyra {

class ScheduleStandIn final : public IScheduleControl {
public:
    ArmResult Arm(const ScheduleRequest& request, bool askBeforeReplacing) override;
    bool Cancel() override;
    std::string Status() const override;

private:
    std::optional<ScheduleRequest> armed_;
};

} // namespace halcyra
