#pragma once
// One program watched to its end: every process of a file name ("ffmpeg.exe"), or one process
// by its id ("1234"), held from the start so that an id the system reuses later is never taken
// for the one awaited. Shared by keeping awake and the schedule's "when a program ends".
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "watch/IProcessPort.h"

namespace halcyra {

enum class WatchOutcome : std::uint8_t {
    Watching,
    Invalid,    // neither a file name nor a process id
    NotRunning, // nothing of that name or id runs
    CannotOpen, // it runs, but a process of it cannot be opened (another user's, protected)
};

struct WatchResult {
    WatchOutcome outcome = WatchOutcome::Invalid;
    std::string program;   // the name to show: the file name, also for an id that runs
    std::size_t count = 0; // processes awaited
    std::string message;   // for a refusal, a sentence that names the program
};

// Reported at each end; left is 0 when the last one has ended.
struct WatchEnd {
    ProcessId id = 0;
    std::size_t left = 0;
    bool AllEnded() const { return left == 0; }
};

class ProcessWatcher {
public:
    using Callback = std::function<void(const WatchEnd&)>;

    explicit ProcessWatcher(IProcessPort& port);
    ~ProcessWatcher();
    ProcessWatcher(const ProcessWatcher&) = delete;
    ProcessWatcher& operator=(const ProcessWatcher&) = delete;

    // Replaces what was watched only when the new program is watched; a refusal changes nothing.
    WatchResult Watch(std::string_view program, Callback callback);
    // Lets every process go; false when nothing was watched.
    bool Cancel();
    bool Watching() const { return !waits_.empty(); }
    std::size_t Left() const { return waits_.size(); }
    const std::string& Program() const { return program_; }

    // The processes a file name or an id names now, as the system lists them.
    std::vector<ProcessEntry> Find(std::string_view program);

    // The running programs that have a window, sorted by title, for a dialog's list.
    std::vector<WindowedProgram> WindowedPrograms();

    // "ffmpeg.exe" from " \"C:\\Tools\\ffmpeg.exe\" "; empty when it cannot name a program.
    static std::string FileName(std::string_view typed);
    // The process id typed as digits; 0 when it is not one.
    static ProcessId Id(std::string_view typed);
    // File names compared as the system does for ASCII letters.
    static bool SameName(std::string_view a, std::string_view b);

private:
    struct Wait {
        ProcessId id;
        WaitId wait;
    };
    void Ended(ProcessId id);
    void Release(std::vector<Wait>& waits);

    IProcessPort& port_;
    std::vector<Wait> waits_;
    std::string program_;
    Callback callback_;
};

} // namespace halcyra
