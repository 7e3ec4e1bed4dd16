#pragma once
// Thread timers in memory: identifiers handed out in sequence, the running set, and a log.
#include <map>
#include <string>
#include <vector>

#include "winmsg/ITimerPlatform.h"

namespace halcyra::test {

class FakeTimerPlatform : public ITimerPlatform {
public:
    std::map<TimerId, std::uint32_t> running; // id -> milliseconds
    std::vector<std::string> log;
    bool refuse = false;
    TimerId forceNext = 0; // hand out this identifier next, to provoke reuse

    TimerId SetTimer(std::uint32_t milliseconds) override {
        log.push_back("SetTimer " + std::to_string(milliseconds));
        if (refuse) {
            return 0;
        }
        // Identifiers of stopped timers come back, as on the real platform.
        TimerId id = forceNext != 0 ? forceNext : 1;
        forceNext = 0;
        while (running.count(id) != 0) {
            ++id;
        }
        running[id] = milliseconds;
        return id;
    }
    void KillTimer(TimerId id) override {
        log.push_back("KillTimer " + std::to_string(id));
        running.erase(id);
    }
    std::string ProgramName() override { return "Halcyra"; }
};

} // namespace halcyra::test
