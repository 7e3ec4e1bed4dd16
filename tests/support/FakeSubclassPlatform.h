#pragma once
// A windowing platform in memory: windows with a procedure, an owning process and a property
// store, and a log of every call that changes something or runs a procedure.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "winmsg/ISubclassPlatform.h"
#include "winmsg/MSubclass.h"

namespace halcyra::test {

class FakeSubclassPlatform : public ISubclassPlatform {
public:
    static constexpr WindowProcAddress kReplacement = 0xF00D;
    static constexpr std::uint32_t kOwnProcess = 42;

    struct Window {
        std::uint32_t process = kOwnProcess;
        WindowProcAddress proc = 0;
        std::map<std::string, std::uintptr_t> props;
    };

    // Its own log, or the log a test shares with other fakes.
    FakeSubclassPlatform() : log(ownLog) {}
    explicit FakeSubclassPlatform(std::vector<std::string>& shared) : log(shared) {}
    FakeSubclassPlatform(const FakeSubclassPlatform&) = delete;
    FakeSubclassPlatform& operator=(const FakeSubclassPlatform&) = delete;

    std::map<WindowHandle, Window> windows;
    std::vector<std::string> ownLog;
    std::vector<std::string>& log;
    MSubclass* module = nullptr;     // receives messages sent to the replacement procedure
    bool refuseInstall = false;      // InstallWindowProc returns 0
    bool throwFromProcedure = false; // CallWindowProcedure raises
    LResult originalResult = 100;    // what every original procedure answers
    int propertyReads = 0;           // GetProperty calls, each a round trip on some platforms

    // A window whose original procedure is the given address.
    void AddWindow(WindowHandle hwnd, WindowProcAddress proc, std::uint32_t process = kOwnProcess) {
        windows[hwnd] = Window{process, proc, {}};
    }

    // Sends a message the way the system does: to the window's current procedure.
    LResult Send(WindowHandle hwnd, std::uint32_t msg, WParam wParam = 0, LParam lParam = 0) {
        return Run(windows.at(hwnd).proc, hwnd, msg, wParam, lParam);
    }

    const std::map<std::string, std::uintptr_t>& Props(WindowHandle hwnd) {
        return windows.at(hwnd).props;
    }

    bool IsWindow(WindowHandle hwnd) override { return windows.count(hwnd) != 0; }
    std::uint32_t WindowProcessId(WindowHandle hwnd) override {
        return windows.count(hwnd) ? windows[hwnd].process : 0;
    }
    std::uint32_t CurrentProcessId() override { return kOwnProcess; }

    std::uintptr_t GetProperty(WindowHandle hwnd, const std::string& name) override {
        ++propertyReads;
        auto w = windows.find(hwnd);
        if (w == windows.end()) {
            return 0;
        }
        auto p = w->second.props.find(name);
        return p == w->second.props.end() ? 0 : p->second;
    }
    void SetProperty(WindowHandle hwnd, const std::string& name, std::uintptr_t value) override {
        windows.at(hwnd).props[name] = value;
    }
    void RemoveProperty(WindowHandle hwnd, const std::string& name) override {
        windows.at(hwnd).props.erase(name);
    }

    WindowProcAddress ReplacementWindowProc() override { return kReplacement; }
    WindowProcAddress InstallWindowProc(WindowHandle hwnd, WindowProcAddress proc) override {
        log.push_back("install " + std::to_string(proc));
        if (refuseInstall || windows.count(hwnd) == 0) {
            return 0;
        }
        WindowProcAddress previous = windows[hwnd].proc;
        windows[hwnd].proc = proc;
        return previous;
    }
    LResult CallWindowProcedure(WindowProcAddress proc, WindowHandle hwnd, std::uint32_t msg,
                                WParam wParam, LParam lParam) override {
        if (throwFromProcedure) {
            throw std::runtime_error("procedure failed");
        }
        return Run(proc, hwnd, msg, wParam, lParam);
    }
    std::string ProgramName() override { return "Halcyra"; }

private:
    LResult Run(WindowProcAddress proc, WindowHandle hwnd, std::uint32_t msg, WParam wParam,
                LParam lParam) {
        if (proc == kReplacement) {
            return module->WindowProc(hwnd, msg, wParam, lParam);
        }
        log.push_back("old " + std::to_string(proc) + " " + std::to_string(msg));
        return originalResult + static_cast<LResult>(wParam);
    }
};

} // namespace halcyra::test
