#pragma once
// The power hold in memory: what is held, and every call in order.
#include <string>
#include <vector>

#include "awake/IPowerRequest.h"

namespace halcyra::test {

class FakePowerRequest : public IPowerRequest {
public:
    std::vector<std::string> log;
    bool refuse = false;
    bool held = false;
    std::string reason;

    PowerHoldResult Hold(bool withDisplay, std::string_view why) override {
        log.push_back((withDisplay ? "Hold+display " : "Hold ") + std::string(why));
        if (refuse) {
            return {false, "Access is denied"};
        }
        held = true;
        reason = why;
        return {true, ""};
    }
    void Release() override {
        log.push_back("Release");
        held = false;
        reason.clear();
    }
};

} // namespace halcyra::test
