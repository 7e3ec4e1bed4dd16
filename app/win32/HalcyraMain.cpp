// The tray program: builds the main window over the real platform and runs its message loop;
// or carries out a script's command line here or in the copy already running.
#include <windows.h>

#include "commandline/CommandDispatch.h"
#include "commandline/CommandRequest.h"
#include "app/HalcyraForm.h"
#include "schedule/ScheduleController.h"
#include "commandline/win32/CommandForwarding.h"
#include "common/win32/Win32Clock.h"
#include "app/win32/Win32DialogLauncher.h"
#include "app/win32/Win32MainWindow.h"
#include "actions/win32/Win32PowerApi.h"
#include "app/win32/Win32ProgramInfo.h"
#include "schedule/win32/Win32ScheduleView.h"
#include "app/win32/Win32WindowSystem.h"
#include "common/win32/Win32RegistryApi.h"
#include "common/win32/WindowProcedure.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "settings/win32/Win32SettingsStore.h"
#include "tray/win32/Win32NotifyIconApi.h"
#include "settings/SettingsKeys.h"
#include "winmsg/win32/Win32SubclassPlatform.h"
#include "winmsg/win32/Win32TimerPlatform.h"

namespace {

using namespace halcyra;

// A schedule from the command line starts the program as its log-on entry does: in the tray.
class TrayStartInfo final : public IProgramInfo {
public:
    explicit TrayStartInfo(IProgramInfo& real) : real_(real) {}
    std::string Arguments() const override { return std::string(settings::kStartArgument); }
    std::string Folder() const override { return real_.Folder(); }
    std::string ExeName() const override { return real_.ExeName(); }
    bool AnotherCopyRunning() override { return real_.AnotherCopyRunning(); }
    bool AnotherCopyHolds(std::uint32_t key) override { return real_.AnotherCopyHolds(key); }

private:
    IProgramInfo& real_;
};

// The main window over the real platform.
struct Program {
    Program(HINSTANCE instance, bool trayStart)
        : window(instance),
          scheduleView(instance,
                       [this](const std::string& status, const std::string& caption) {
                           window.ShowScheduleState(status, caption);
                       }),
          form(HalcyraForm::Services{
              window, windows, power,
              trayStart ? static_cast<IProgramInfo&>(trayStartInfo) : program, dialogs, settings,
              registry, notify, hotkeys, win32::SubclassModule()}) {
        form.AttachSchedule(ScheduleServices{clock, clock, win32::TimerModule(), scheduleView});
        scheduleView.SetController(*form.Scheduler());
    }

    win32::Win32RegistryApi registry;
    win32::Win32SettingsStore settings;
    win32::Win32HotkeyApi hotkeyApi;
    modHotkey hotkeys{hotkeyApi, settings};
    win32::Win32NotifyIconApi notify;
    win32::Win32PowerApi power;
    win32::Win32WindowSystem windows;
    win32::Win32ProgramInfo program;
    TrayStartInfo trayStartInfo{program};
    win32::Win32DialogLauncher dialogs{settings, hotkeys};
    win32::Win32MainWindow window;
    // Before the form: the form's schedule uses them until its last moment.
    win32::Win32Clock clock;
    win32::Win32ScheduleView scheduleView;
    HalcyraForm form;
};

// pending: a schedule to arm once started (in the tray).
int RunHalcyra(HINSTANCE instance, const CommandRequest* pending) {
    Program p(instance, pending != nullptr);
    p.form.Form_Initialize();
    if (!p.window.Create(p.form)) {
        return 1;
    }
    try {
        if (!p.form.Form_Load()) {
            p.window.Discard();
            return 0;
        }
        if (pending) {
            CarryOut(*pending, p.form, p.form.Schedule());
        }
    } catch (...) {
        // Shown as from any handler; the return then takes down what was set up so far.
        win32::ShowEscapedError(p.window.Hwnd());
        return 1;
    }

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab and the access keys move between the main window's controls.
        if (p.window.Hwnd() && ::IsDialogMessageA(p.window.Hwnd(), &msg)) {
            continue;
        }
        if (p.scheduleView.Warning() && ::IsDialogMessageA(p.scheduleView.Warning(), &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// An action now, with no copy running: the window's machinery without its start-up (no tray
// icon, hotkeys or Run entry), hidden, and gone when the action returns.
int RunOnce(HINSTANCE instance, const CommandRequest& request) {
    Program p(instance, false);
    if (!p.window.Create(p.form)) {
        return command::kExitRefused;
    }
    p.form.LoadForCommand();
    const CommandResult result = CarryOut(request, p.form, p.form.Schedule());
    p.window.Discard();
    return result.exitCode;
}

int RunCommand(HINSTANCE instance, const CommandRequest& request) {
    if (request.verb == CommandVerb::Help) {
        win32::ShowOutput(command::Usage(), false);
        return command::kExitDone;
    }
    if (const auto answer =
            win32::ForwardToRunningCopy(request, win32::Win32MainWindow::kClassName)) {
        if (!answer->output.empty()) {
            win32::ShowOutput(answer->output, false);
        }
        return answer->exitCode;
    }
    // No copy runs, so nothing is armed.
    switch (request.verb) {
    case CommandVerb::Status:
        win32::ShowOutput(command::kNothingArmed, false);
        return command::kExitDone;
    case CommandVerb::Cancel:
        return command::kExitNothingToCancel;
    default:
        break;
    }
    return request.schedule ? RunHalcyra(instance, &request) : RunOnce(instance, request);
}

int Run(HINSTANCE instance) {
    const ParsedCommand parsed = ParseCommand(win32::Win32ProgramInfo().Arguments());
    switch (parsed.kind) {
    case ParsedCommand::Kind::Request:
        return RunCommand(instance, parsed.request);
    case ParsedCommand::Kind::Wrong:
        win32::ShowOutput(parsed.error + "\n\n" + std::string(command::Usage()), true);
        return command::kExitWrongCommandLine;
    case ParsedCommand::Kind::NoCommand:
        break;
    }
    return RunHalcyra(instance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return Run(instance);
    } catch (...) {
        halcyra::win32::ShowEscapedError(nullptr);
        return 1;
    }
}
