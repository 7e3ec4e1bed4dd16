// The tray program: builds the main window over the real platform and runs its message loop;
// or carries out a script's command line here or in the copy already running.
#include <windows.h>

#include "commandline/CommandDispatch.h"
#include "commandline/CommandRequest.h"
#include "awake/AwakeController.h"
#include "app/HalcyraForm.h"
#include "awake/AwakeController.h"
#include "awake/win32/KeepAwakeDialog.h"
#include "awake/win32/Win32PowerRequest.h"
#include "watch/win32/Win32ProcessPort.h"
#include "awake/win32/KeepAwakeDialog.h"
#include "awake/win32/Win32PowerRequest.h"
#include "watch/win32/Win32ProcessPort.h"
#include "schedule/ScheduleController.h"
#include "commandline/win32/CommandForwarding.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32Prompt.h"
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
#include "winmsg/win32/Win32SubclassPlatform.h"
#include "winmsg/win32/Win32TimerPlatform.h"

namespace {

using namespace halcyra;

// The main window over the real platform.
struct Program {
    explicit Program(HINSTANCE instance)
        : window(instance),
          scheduleView(instance, processes,
                       [this](const std::string& status, const std::string& caption) {
                           window.ShowScheduleState(status, caption);
                       }),
          form(HalcyraForm::Services{window, windows, prompt, power, program, dialogs, settings,
                                     registry, notify, hotkeys, win32::SubclassModule()},
               schedule, awake) {
        scheduleView.SetController(form.Schedule());
    }

    win32::Win32RegistryApi registry;
    win32::Win32SettingsStore settings;
    win32::Win32HotkeyApi hotkeyApi;
    modHotkey hotkeys{hotkeyApi, settings};
    win32::Win32NotifyIconApi notify;
    win32::Win32PowerApi power;
    win32::Win32WindowSystem windows;
    win32::Win32Prompt prompt;
    win32::Win32ProgramInfo program;
    win32::Win32DialogLauncher dialogs{settings, hotkeys};
    win32::Win32MainWindow window;
    // Before the form: the form's schedule and keeping awake use them until its last moment.
    win32::Win32Clock clock;
    // Made on the window's thread, as the thread state and the waits' window belong to it.
    win32::Win32PowerRequest powerRequest;
    win32::Win32ProcessPort processes;
    win32::Win32ScheduleView scheduleView;
    ScheduleController schedule{
        ScheduleServices{clock, clock, win32::TimerModule(), scheduleView, processes}, prompt,
        windows, settings};
    AwakeController awake{
        AwakeServices{clock, win32::TimerModule(), powerRequest, processes}, prompt,
        AwakeController::Hooks{
            [this] { return window.Handle(); },
            [this] {
                return win32::AskKeepAwake(
                    window.Hwnd(), settings, processes,
                    [this](int hour, int minute) { return awake.Rules().Preview(hour, minute); });
            },
            [this](const std::string& status) { window.ShowAwakeState(status); },
        }};
    HalcyraForm form;
};

int RunHalcyra(HINSTANCE instance) {
    Program p(instance);
    p.form.Form_Initialize();
    if (!p.window.Create(p.form)) {
        return 1;
    }
    try {
        if (!p.form.Form_Load()) {
            // "No" to starting another copy (or its window closed while it asked): a script that
            // started this one sees a refusal.
            p.window.Discard();
            return command::kExitRefused;
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
    // "/quiet" travels with the call: nothing waits in a box (CarryOut).
    Program p(instance);
    if (!p.window.Create(p.form)) {
        return command::kExitRefused;
    }
    p.form.LoadForCommand();
    const CommandResult result = CarryOut(request, p.form, p.form.Schedule());
    p.window.Discard();
    return result.exitCode;
}

int RunCommand(HINSTANCE instance, const CommandRequest& request, IPrompt& prompt) {
    if (request.verb == CommandVerb::Help) {
        win32::ShowOutput(prompt, command::Usage(), false);
        return command::kExitDone;
    }
    win32::Forwarded forwarded =
        win32::ForwardToRunningCopy(request, win32::Win32MainWindow::kClassName);
    if (forwarded.outcome == win32::Forwarded::Outcome::NoCopy) {
        // No copy runs, so nothing is armed.
        switch (request.verb) {
        case CommandVerb::Status:
            win32::ShowOutput(prompt, command::kNothingArmed, false);
            return command::kExitDone;
        case CommandVerb::Cancel:
            return command::kExitNothingToCancel;
        default:
            break;
        }
        if (request.verb == CommandVerb::AwakeOff) {
            return command::kExitNothingToCancel;
        }
        if (!request.schedule && request.verb != CommandVerb::Awake) {
            return RunOnce(instance, request);
        }
        // The schedule and keeping awake live in a tray copy of its own, so that this process, and
        // the script or the task waiting for it, ends with the answer.
        forwarded = win32::StartTrayCopyWith(request, win32::Win32MainWindow::kClassName);
        if (forwarded.outcome == win32::Forwarded::Outcome::NoCopy) {
            win32::ShowOutput(prompt, command::kTrayNotStarted, true, request.quiet);
            return command::kExitRefused;
        }
    }
    if (forwarded.outcome == win32::Forwarded::Outcome::NoAnswer) {
        win32::ShowOutput(prompt, command::kNoAnswer, true, request.quiet);
        return command::kExitRefused;
    }
    if (!forwarded.result.output.empty()) {
        win32::ShowOutput(prompt, forwarded.result.output, false, request.quiet);
    }
    return forwarded.result.exitCode;
}

int Run(HINSTANCE instance) {
    // A script's answer, when nothing else shows it, has no owner window.
    win32::Win32Prompt prompt;
    const ParsedCommand parsed = ParseCommand(win32::Win32ProgramInfo().Arguments());
    switch (parsed.kind) {
    case ParsedCommand::Kind::Request:
        return RunCommand(instance, parsed.request, prompt);
    case ParsedCommand::Kind::Wrong:
        win32::ShowOutput(prompt, parsed.error + "\n\n" + std::string(command::Usage()), true,
                          parsed.quiet);
        return command::kExitWrongCommandLine;
    case ParsedCommand::Kind::NoCommand:
        break;
    }
    return RunHalcyra(instance);
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
