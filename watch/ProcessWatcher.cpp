// One program watched to its end.
#include "watch/ProcessWatcher.h"

#include <algorithm>
#include <charconv>

namespace halcyra {

namespace {

constexpr std::size_t kMaxName = 255; // the longest file name the system's file systems take
constexpr std::string_view kNotAName = "<>:\"|?*";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool Digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string CannotOpenText(const std::string& who) {
    return who + " cannot be watched: it belongs to another user or is protected.";
}

} // namespace

ProcessWatcher::ProcessWatcher(IProcessPort& port) : port_(port) {}

ProcessWatcher::~ProcessWatcher() {
    Cancel();
}

std::string ProcessWatcher::FileName(std::string_view typed) {
    typed = Trim(typed);
    if (Digits(typed)) {
        return {}; // a process id, or none
    }
    if (typed.size() >= 2 && typed.front() == '"' && typed.back() == '"') {
        typed = typed.substr(1, typed.size() - 2);
    }
    // A whole path names its program by the last part: processes are listed by file name.
    const std::size_t slash = typed.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        typed.remove_prefix(slash + 1);
    }
    std::string name(typed);
    if (name.find('.') == std::string::npos && !name.empty()) {
        name += ".exe";
    }
    const bool bad = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || kNotAName.find(c) != std::string_view::npos;
    });
    return bad || name.size() > kMaxName || name.find_first_not_of('.') == std::string::npos
               ? std::string()
               : name;
}

ProcessId ProcessWatcher::Id(std::string_view typed) {
    typed = Trim(typed);
    ProcessId id = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), id);
    return error == std::errc() && end == typed.data() + typed.size() ? id : 0;
}

bool ProcessWatcher::SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

WatchResult ProcessWatcher::Watch(std::string_view program, Callback callback) {
    WatchResult result;
    const ProcessId byId = Id(program);
    const std::string name = byId == 0 ? FileName(program) : std::string();
    if (byId == 0 && name.empty()) {
        result.message = "\"" + std::string(program.substr(0, 80)) +
                         "\" is neither a program's file name nor a process id.";
        return result;
    }
    std::vector<Wait> started;
    bool cannotOpen = false;
    std::string listedName; // an id's file name as the list gives it, for a refusal's text
    for (const ProcessEntry& entry : Find(program)) {
        listedName = entry.fileName;
        const ProcessId id = entry.id;
        // The id is unique among the waits while their handles are held.
        WaitStart wait = port_.StartWait(id, [this, id] { Ended(id); });
        if (wait.refusal == WaitRefusal::CannotOpen) {
            cannotOpen = true;
            break;
        }
        if (wait.refusal != WaitRefusal::None) {
            continue; // ended since the list was taken
        }
        if (byId == 0 && !SameName(wait.fileName, name)) {
            port_.CancelWait(wait.id); // the id went to another program in the meantime
            continue;
        }
        if (result.program.empty()) {
            result.program = wait.fileName; // as the system spells it
        }
        started.push_back({id, wait.id});
    }
    std::string who = name;
    if (byId != 0) {
        who = listedName.empty() ? "Process " + std::to_string(byId)
                                 : listedName + " (process " + std::to_string(byId) + ")";
    }
    if (cannotOpen) {
        Release(started);
        result.outcome = WatchOutcome::CannotOpen;
        result.program = byId != 0 ? listedName : name;
        result.message = CannotOpenText(who);
        return result;
    }
    if (started.empty()) {
        result.outcome = WatchOutcome::NotRunning;
        result.program = name;
        result.message = byId != 0 ? "No program runs with process id " + std::to_string(byId) + "."
                                   : name + " is not running.";
        return result;
    }
    Release(waits_);
    waits_ = std::move(started);
    program_ = result.program;
    callback_ = std::move(callback);
    result.outcome = WatchOutcome::Watching;
    result.count = waits_.size();
    return result;
}

bool ProcessWatcher::Cancel() {
    const bool was = !waits_.empty();
    Release(waits_);
    callback_ = nullptr;
    return was;
}

void ProcessWatcher::Release(std::vector<Wait>& waits) {
    for (const Wait& wait : waits) {
        port_.CancelWait(wait.wait);
    }
    waits.clear();
}

void ProcessWatcher::Ended(ProcessId id) {
    const auto it = std::find_if(waits_.begin(), waits_.end(),
                                 [id](const Wait& wait) { return wait.id == id; });
    if (it == waits_.end()) {
        return;
    }
    waits_.erase(it);
    // The callback may watch something else or cancel: it gets its own copy.
    const Callback callback = callback_;
    if (waits_.empty()) {
        callback_ = nullptr;
    }
    if (callback) {
        callback(WatchEnd{id, waits_.size()});
    }
}

std::vector<ProcessEntry> ProcessWatcher::Find(std::string_view program) {
    const ProcessId byId = Id(program);
    const std::string name = byId == 0 ? FileName(program) : std::string();
    std::vector<ProcessEntry> found;
    if (byId == 0 && name.empty()) {
        return found;
    }
    for (ProcessEntry& entry : port_.Processes()) {
        if (byId != 0 ? entry.id == byId : SameName(entry.fileName, name)) {
            found.push_back(std::move(entry));
        }
    }
    return found;
}

std::vector<WindowedProgram> ProcessWatcher::WindowedPrograms() {
    std::vector<WindowedProgram> programs = port_.WindowedPrograms();
    std::sort(programs.begin(), programs.end(), [](const auto& a, const auto& b) {
        return a.title != b.title ? a.title < b.title : a.fileName < b.fileName;
    });
    return programs;
}

} // namespace halcyra
