#pragma once
// What the program watcher needs of the system's processes: the list of those running, the
// programs that show a window (for a dialog's list), and a wait on one process that the system
// ends by signalling. No polling: the end is reported once, on the window's thread.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace halcyra {

using ProcessId = std::uint32_t;
using WaitId = std::uint64_t;

struct ProcessEntry {
    ProcessId id = 0;
    std::string fileName; // "ffmpeg.exe", UTF-8
};

struct WindowedProgram {
    std::string title;    // the window's caption
    std::string fileName; // its process's image file name
    ProcessId id = 0;
    bool operator==(const WindowedProgram&) const = default;
};

enum class WaitRefusal : std::uint8_t {
    None,
    NotRunning, // no such process, or it has already ended
    CannotOpen, // another user's or protected
};

struct WaitStart {
    WaitRefusal refusal = WaitRefusal::None;
    WaitId id = 0;        // nonzero when waiting
    std::string fileName; // of the process the held handle names, so a reused id shows
};

class IProcessPort {
public:
    virtual ~IProcessPort() = default;
    // Every running process, as the system lists them now.
    virtual std::vector<ProcessEntry> Processes() = 0;
    // The visible, unowned top-level windows with a caption, and their programs.
    virtual std::vector<WindowedProgram> WindowedPrograms() = 0;
    // Opens the process for waiting only; ended runs once, on the window's thread, when it ends.
    virtual WaitStart StartWait(ProcessId id, std::function<void()> ended) = 0;
    // Stops a wait and lets its process go; ended is not called afterwards. Unknown ids are
    // ignored (the wait may have reported already).
    virtual void CancelWait(WaitId id) = 0;
};

} // namespace halcyra
