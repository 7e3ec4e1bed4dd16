#pragma once
// A recording schedule: what was armed, cancelled or asked, with the answers a test sets.
#include <string>
#include <vector>

#include "app/ScheduleRequest.h"

namespace halcyra::testing {

class FakeScheduleControl : public IScheduleControl {
public:
    ArmResult Arm(const ScheduleRequest& request, bool askBeforeReplacing) override {
        calls.push_back(std::string("Arm(") + (askBeforeReplacing ? "ask" : "replace") + ")");
        armed.push_back(request);
        return armResult;
    }
    bool Cancel() override {
        calls.push_back("Cancel");
        return cancels;
    }
    std::string Status() const override { return status; }

    std::vector<std::string> calls;
    std::vector<ScheduleRequest> armed;
    ArmResult armResult = ArmResult::Armed;
    bool cancels = true;
    std::string status;
};

} // namespace halcyra::testing
