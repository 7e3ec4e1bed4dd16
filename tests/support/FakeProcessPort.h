#pragma once
// Processes in memory: what runs, what refuses to be opened, and the waits held on them.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "watch/IProcessPort.h"

namespace halcyra::test {

class FakeProcessPort : public IProcessPort {
public:
    std::vector<ProcessEntry> running;
    std::vector<WindowedProgram> windows;
    std::map<ProcessId, WaitRefusal> refuse;   // StartWait's answer for that id
    std::map<ProcessId, std::string> reusedBy; // the id went to this program after the list
    std::map<WaitId, std::pair<ProcessId, std::function<void()>>> waits; // open waits
    WaitId next = 1;

    // The process ends: its wait reports, as the window's message would.
    void End(ProcessId id) {
        std::erase_if(running, [id](const ProcessEntry& e) { return e.id == id; });
        for (auto it = waits.begin(); it != waits.end(); ++it) {
            if (it->second.first == id) {
                const auto ended = std::move(it->second.second);
                waits.erase(it);
                ended();
                return;
            }
        }
    }

    std::vector<ProcessEntry> Processes() override { return running; }
    std::vector<WindowedProgram> WindowedPrograms() override { return windows; }
    WaitStart StartWait(ProcessId id, std::function<void()> ended) override {
        if (refuse.count(id) != 0) {
            return {refuse[id], 0, ""};
        }
        std::string name = reusedBy.count(id) != 0 ? reusedBy[id] : "";
        for (const ProcessEntry& e : running) {
            name = e.id == id && name.empty() ? e.fileName : name;
        }
        if (name.empty()) {
            return {WaitRefusal::NotRunning, 0, ""};
        }
        waits[next] = {id, std::move(ended)};
        return {WaitRefusal::None, next++, name};
    }
    void CancelWait(WaitId id) override { waits.erase(id); }
};

} // namespace halcyra::test
