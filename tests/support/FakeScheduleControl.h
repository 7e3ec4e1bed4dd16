#pragma once
// A recording schedule: what was armed, cancelled or asked, with the answers a test sets.
#include <string>
#include <vector>

#include "schedule/ScheduleRequest.h"

namespace halcyra::test {

struct FakeScheduleControl : IScheduleControl {
    ArmResult Arm(const ScheduleRequest& request, bool askBeforeReplacing) override {
        calls.push_back(askBeforeReplacing ? "Arm(ask)" : "Arm(replace)");
        armed.push_back(request);
        return armResult;
    }
    bool Cancel() override { return calls.push_back("Cancel"), cancels; }
    std::string Status() const override { return status; }
    std::string Refusal() const override { return refusal; }

    std::vector<std::string> calls;
    std::vector<ScheduleRequest> armed;
    ArmResult armResult = ArmResult::Armed;
    bool cancels = true; // something was armed
    std::string status;
    std::string refusal;
};

} // namespace halcyra::test
