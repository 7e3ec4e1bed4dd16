#pragma once
// A recording keeping awake: what was started or stopped, with the answers a test sets.
#include <string>
#include <vector>

#include "awake/IAwakeControl.h"

namespace halcyra::test {

struct FakeAwakeControl : IAwakeControl {
    AwakeResult Start(const AwakeRequest& request) override {
        calls.push_back("Start");
        started.push_back(request);
        return result;
    }
    bool Stop() override { return calls.push_back("Stop"), !status.empty(); }
    std::string Status() const override { return status; }

    std::vector<std::string> calls;
    std::vector<AwakeRequest> started;
    AwakeResult result{AwakeOutcome::On, {}};
    std::string status; // empty: off
};

} // namespace halcyra::test
