#pragma once
// Recording fakes for everything the main window's logic asks of the platform. Every call
// goes into one shared log, in order, so a test can assert the whole sequence.
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/HalcyraForm.h"
#include "schedule/ScheduleController.h"
#include "awake/AwakeController.h"
#include "support/FakePowerRequest.h"
#include "support/FakeProcessPort.h"
#include "support/FakeClock.h"
#include "support/FakePrompt.h"
#include "support/FakeSubclassPlatform.h"
#include "support/FakeTimerPlatform.h"
#include "support/SettingsFakes.h"
#include "settings/IHotkeyApi.h"
#include "winmsg/ISubclassPlatform.h"

namespace halcyra::test {

// The entries of the log that start with prefix, in order.
inline Log Only(const Log& log, const std::string& prefix) {
    Log out;
    for (const auto& line : log) {
        if (line.rfind(prefix, 0) == 0) {
            out.push_back(line);
        }
    }
    return out;
}

// A tray request as the log shows it, with the tip the program always sets: "tray.Add(flags 7,
// tip Halcyra 1.3.2)".
inline std::string TrayLine(const std::string& request, int flags) {
    return "tray." + request + "(flags " + std::to_string(flags) + ", tip " +
           std::string(product::kNameAndVersion) + ")";
}

constexpr WindowHandle kMainWindow = 0x1234;
constexpr ImageHandle kTrayImage = 0x77;

class FakeView : public IMainWindowView {
public:
    explicit FakeView(Log& log) : log_(log) {}
    WindowHandle Handle() const override { return closed ? 0 : kMainWindow; }
    bool IsVisible() const override { return visible; }
    void SetVisible(bool v) override {
        log_.push_back(std::string("view.SetVisible(") + (v ? "true" : "false") + ")");
        visible = v;
    }
    void SetFocus() override { log_.push_back("view.SetFocus"); }
    bool IsShowChecked() const override { return showChecked; }
    void SetShowChecked(bool c) override {
        log_.push_back(std::string("view.SetShowChecked(") + (c ? "true" : "false") + ")");
        showChecked = c;
    }
    int Check1Value() const override { return check1; }
    void SetCheck1Value(int v) override {
        log_.push_back("view.SetCheck1(" + std::to_string(v) + ")");
        check1 = v;
    }
    int CheckRequestValue() const override { return checkRequest; }
    void SetCheckRequestValue(int v) override {
        log_.push_back("view.SetCheckRequest(" + std::to_string(v) + ")");
        checkRequest = v;
    }
    ImageHandle HalcyraImagePicture() const override { return kTrayImage; }
    std::int32_t TwipsPerPixelX() const override { return twipsPerPixel; }
    bool TrackActionsPopup(MenuEntry* chosen) override {
        log_.push_back("view.TrackActionsPopup");
        if (onPopup) {
            onPopup();
        }
        if (popupChoice) {
            *chosen = *popupChoice;
            return true;
        }
        return false;
    }
    void Unload() override { log_.push_back("view.Unload"); }
    StartShow StartShowRequest() const override { return startShow; }
    void SetTrayRetryTimer(std::uint32_t ms) override {
        log_.push_back("view.SetTrayRetryTimer(" + std::to_string(ms) + ")");
        retryTimerMs = ms;
    }

    bool closed = false;     // gone, closed by someone else
    bool visible = false;    // not shown before start-up shows it
    bool showChecked = true; // checked in the design
    int check1 = 0;
    int checkRequest = 0;
    std::optional<MenuEntry> popupChoice;
    std::function<void()> onPopup;
    StartShow startShow = StartShow::Normal;
    std::uint32_t retryTimerMs = 0;
    std::int32_t twipsPerPixel = 15; // 96 DPI; 10 at 144, 7 at 192

private:
    Log& log_;
};

class FakeWindowSystem : public IWindowSystem {
public:
    explicit FakeWindowSystem(Log& log) : log_(log) {}
    void UninitializeComApartment() override { log_.push_back("UninitializeComApartment"); }
    void SendSystemCommand(WindowHandle hwnd, WParam command, LParam l) override {
        log_.push_back("SendSystemCommand(" + Hex(hwnd) + ", " + Hex(command) + ", " +
                       std::to_string(l) + ")");
    }
    std::int32_t SetForegroundWindow(WindowHandle hwnd) override {
        log_.push_back("SetForegroundWindow(" + Hex(hwnd) + ")");
        return 1;
    }
    void Sleep(std::uint32_t ms) override { log_.push_back("Sleep(" + std::to_string(ms) + ")"); }
    std::uint32_t RegisterMessageName(std::string_view name) override {
        log_.push_back("RegisterMessageName(" + std::string(name) + ")");
        return registeredMessage;
    }
    void DebugOutput(std::string_view text) override {
        log_.push_back("DebugOutput(" + std::string(text) + ")");
    }

    static constexpr std::uint32_t kTaskbarCreated = 0xC0DE;
    std::uint32_t registeredMessage = kTaskbarCreated; // 0: the registration failed

private:
    Log& log_;
};

class FakePower : public IPowerApi {
public:
    explicit FakePower(Log& log) : log_(log) {}
    std::int32_t ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        log_.push_back("power.ExitWindowsEx(" + std::to_string(flags) + ", " +
                       std::to_string(reason) + ")");
        return Result("ExitWindowsEx");
    }
    std::int32_t SetSuspendState(bool h, bool f, bool w) override {
        log_.push_back("power.SetSuspendState(" + B(h) + ", " + B(f) + ", " + B(w) + ")");
        return Result("SetSuspendState");
    }
    std::int32_t SetSystemPowerState(bool s, bool f) override {
        log_.push_back("power.SetSystemPowerState(" + B(s) + ", " + B(f) + ")");
        return Result("SetSystemPowerState");
    }
    ProcessHandle GetCurrentProcess() override {
        log_.push_back("power.GetCurrentProcess");
        return kProcess;
    }
    std::int32_t OpenProcessToken(ProcessHandle p, std::uint32_t access, TokenHandle* t) override {
        log_.push_back("power.OpenProcessToken(" + Hex(p) + ", " + Hex(access) + ")");
        if (!tokenOpens) {
            return 0;
        }
        *t = kToken;
        return 1;
    }
    std::int32_t LookupPrivilegeValueA(std::string_view system, std::string_view name,
                                       Luid* luid) override {
        log_.push_back("power.LookupPrivilegeValueA(\"" + std::string(system) + "\", " +
                       std::string(name) + ")");
        luid->LowPart = 19;
        return 1;
    }
    std::int32_t AdjustTokenPrivileges(TokenHandle t, bool disableAll, const TokenPrivileges& ns,
                                       std::uint32_t len, TokenPrivileges* prev,
                                       std::uint32_t* ret) override {
        log_.push_back("power.AdjustTokenPrivileges(" + Hex(t) + ", " + B(disableAll) + ", count " +
                       std::to_string(ns.PrivilegeCount) + ", luid " +
                       std::to_string(ns.PrivilegeLuid.LowPart) + ", attr " +
                       std::to_string(ns.Attributes) + ", " + std::to_string(len) + ", " +
                       (prev && ret ? "out" : "null") + ")");
        return 1;
    }
    std::int32_t CloseHandle(TokenHandle h) override {
        log_.push_back("power.CloseHandle(" + Hex(h) + ")");
        return 1;
    }
    std::int32_t GetVersionExA(OsVersionInfo* info) override {
        log_.push_back("power.GetVersionExA(size " + std::to_string(info->dwOSVersionInfoSize) +
                       ")");
        if (versionFails) {
            return 0;
        }
        info->dwPlatformId = platformId;
        return 1;
    }
    std::int32_t GetPwrCapabilities(PowerCapabilities* caps) override {
        log_.push_back("power.GetPwrCapabilities");
        if (!capabilities) {
            lastError_ = capabilitiesError;
            return 0;
        }
        *caps = *capabilities;
        return 1;
    }
    std::int32_t LockWorkStation() override {
        log_.push_back("power.LockWorkStation");
        return Result("LockWorkStation");
    }
    std::uint32_t GetLastError() override {
        log_.push_back("power.GetLastError");
        return lastError_;
    }
    std::string ErrorText(std::uint32_t error) override {
        log_.push_back("power.ErrorText(" + std::to_string(error) + ")");
        return error == kUnknownError ? "" : "system text " + std::to_string(error);
    }

    static constexpr ProcessHandle kProcess = static_cast<ProcessHandle>(-1);
    static constexpr TokenHandle kToken = 0x44;
    static constexpr std::uint32_t kUnknownError = 0xDEAD; // the system has no text for it
    std::uint32_t platformId = 2;
    bool versionFails = false;
    bool tokenOpens = true;
    // A desktop with S1 to S4 and a hibernation file; empty: the query fails.
    std::optional<PowerCapabilities> capabilities =
        PowerCapabilities{true, false, true, true, true, false};
    std::uint32_t capabilitiesError = 126;
    // Calls that fail, by name, with the last error they leave.
    std::map<std::string, std::uint32_t> failing;

private:
    static std::string B(bool b) { return b ? "TRUE" : "FALSE"; }
    std::int32_t Result(const std::string& call) {
        const auto it = failing.find(call);
        if (it == failing.end()) {
            return 1;
        }
        lastError_ = it->second;
        return 0;
    }
    std::uint32_t lastError_ = 0;
    Log& log_;
};

class FakeProgram : public IProgramInfo {
public:
    std::string Arguments() const override { return arguments; }
    std::string Folder() const override { return folder; }
    std::string ExeName() const override { return exeName; }
    bool AnotherCopyRunning() override { return anotherCopy; }
    bool AnotherCopyHolds(std::uint32_t key) override { return heldByFirstCopy.count(key) != 0; }
    std::set<std::uint32_t> heldByFirstCopy;

    std::string arguments;
    std::string folder = "C:\\Tools";
    std::string exeName = "Halcyra";
    bool anotherCopy = false;
};

class FakeDialogs : public IDialogLauncher {
public:
    explicit FakeDialogs(Log& log) : log_(log) {}
    void ShowAbout(WindowHandle o) override { log_.push_back("dialogs.About(" + Hex(o) + ")"); }
    void ShowOptions(WindowHandle o) override { log_.push_back("dialogs.Options(" + Hex(o) + ")"); }
    void ShowUpdate(WindowHandle o) override { log_.push_back("dialogs.Update(" + Hex(o) + ")"); }

private:
    Log& log_;
};

class FakeNotify : public INotifyIconApi {
public:
    explicit FakeNotify(Log& log) : log_(log) {}
    std::int32_t ShellNotifyIcon(std::uint32_t message, const NotifyIconRecord& r) override {
        static const char* names[] = {"Add", "Modify", "Delete"};
        log_.push_back(std::string("tray.") + names[message] + "(flags " +
                       std::to_string(r.uFlags) + ", tip " + r.szTip + ")");
        if (fails || (message == kModify && !present) ||
            (message == kAdd && (addFails || (present && addTimesOut)))) {
            return 0;
        }
        present = message != kDelete;
        return message == kAdd && addTimesOut ? 0 : 1;
    }
    std::uint32_t GetLastError() override { return 1400; }
    bool TaskbarExists() override { return taskbar; }
    bool fails = false;
    bool addFails = false;    // a shell that refuses (or times out on) new icons
    bool present = false;     // the shell holds the icon: a modify finds it
    bool addTimesOut = false; // times out but keeps the icon; adds after it are duplicates
    bool taskbar = false;

private:
    Log& log_;
};

// The Schedule dialog answers with a prepared choice (or Cancel); the rest is logged.
class FakeScheduleView : public IScheduleView {
public:
    explicit FakeScheduleView(Log& log) : log_(log) {}
    bool AskSchedule(WindowHandle owner, ScheduleChoice& choice,
                     const SchedulePreview& preview) override {
        log_.push_back("schedule.Dialog(" + Hex(owner) + ")");
        opened = choice;
        if (!answer) {
            return false;
        }
        choice = *answer;
        previewed = preview(choice.Request());
        return true;
    }
    bool ShowWarning(std::string_view text, bool forced) override {
        log_.push_back("schedule.ShowWarning(" + std::string(text) + (forced ? ", forced)" : ")"));
        return !warningFails;
    }
    void SetWarningText(std::string_view text) override { warningText = text; }
    void HideWarning() override { log_.push_back("schedule.HideWarning"); }
    bool WarningInUse() const override { return inUse; }
    void ShowScheduleState(std::string_view status, std::string_view caption) override {
        log_.push_back("schedule.State(" + std::string(status) + " | " + std::string(caption) +
                       ")");
    }

    std::optional<ScheduleChoice> answer; // none: the user cancels
    ScheduleChoice opened;
    std::string previewed;
    std::string warningText;
    bool warningFails = false; // the window cannot be created
    bool inUse = false;        // the pointer is over the warning or it has the focus

private:
    Log& log_;
};

// The main window's procedure before the subclassing replaced it.
constexpr WindowProcAddress kOriginalProc = 0x5000;

// Whether the loaded form asks before a power action, as the user meets the confirmation
// setting: a Shutdown answered No when asked; the log keeps what happened.
template <class Bench>
bool AsksFirst(Bench& b) {
    const std::size_t before = Only(b.log, "Ask(").size();
    b.prompt.answers.push_front(Answer::No);
    b.form.menu_Shutdown_Click();
    const bool asked = Only(b.log, "Ask(").size() > before;
    if (!asked) {
        b.prompt.answers.pop_front();
    }
    return asked;
}

// A main window wired to fakes, with every collaborator at hand.
struct FormBench {
    // The main window is ours and has its own procedure before anything is attached.
    FormBench() { subclassPlatform.AddWindow(kMainWindow, kOriginalProc); }

    Log log;
    FakeView view{log};
    FakeWindowSystem windows{log};
    FakePrompt prompt{log};
    FakePower power{log};
    FakeProgram program;
    FakeDialogs dialogs{log};
    FakeSettingsStore settings{log};
    FakeRegistryApi registry{log};
    FakeNotify notify{log};
    FakeHotkeyApi hotkeyApi{log};
    FakeSubclassPlatform subclassPlatform{log};
    test::FakeClock clock;
    test::FakeTimerPlatform timerPlatform;
    MTimer timers{timerPlatform};
    FakeScheduleView scheduleView{log};
    modHotkey hotkeys{hotkeyApi, settings};
    MSubclass subclass{subclassPlatform};
    FakeProcessPort processes;
    ScheduleController schedule{ScheduleServices{clock, clock, timers, scheduleView, processes},
                                prompt, windows, settings};
    FakePowerRequest awakePower;
    std::optional<AwakeRequest> awakeAnswer; // the Keep awake dialog's answer; none: Cancel
    std::string awakeShown = "-";            // the last status the window's row was given
    AwakeController awake{AwakeServices{clock, timers, awakePower, processes}, prompt,
                          AwakeController::Hooks{
                              [this] { return view.Handle(); },
                              [this] { return awakeAnswer; },
                              [this](const std::string& status) { awakeShown = status; },
                          }};
    HalcyraForm form{HalcyraForm::Services{view, windows, prompt, power, program, dialogs, settings,
                                           registry, notify, hotkeys, subclass},
                     schedule, awake};

    // Loads the form and forgets what start-up logged. With confirm, the Yes/No question is
    // stored on or off first; without, the store decides (empty: on).
    void Start(const std::string& arguments = "", std::optional<bool> confirm = std::nullopt) {
        if (confirm) {
            settings.values["Confirm"] = *confirm ? "1" : "0";
        }
        program.arguments = arguments;
        form.Form_Load();
        log.clear();
    }
    LResult Send(std::uint32_t msg, WParam w, LParam l = 0) {
        return subclass.WindowProc(kMainWindow, msg, w, l);
    }
    // A tray notification as the shell delivers it: sent from its thread with the icon's id,
    // the mouse message in the x coordinate.
    void Tray(int mouseMessage, bool sent = true) {
        form.Form_MouseMove(1, 0, mouseMessage * double(view.twipsPerPixel), 0,
                            MouseMoveOrigin{sent, 1});
    }
    // The pointer moving over the client area, from the window's own input queue.
    void Pointer(int x, WParam keys = 0) {
        form.Form_MouseMove(static_cast<int>(keys & 3), 0, x * double(view.twipsPerPixel), 0,
                            MouseMoveOrigin{false, keys});
    }
};

} // namespace halcyra::test
