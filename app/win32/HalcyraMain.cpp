// The tray program: builds the main window over the real platform and runs its message loop.
#include <windows.h>

#include "app/HalcyraForm.h"
#include "app/ScheduleController.h"
#include "app/win32/Win32Clock.h"
#include "app/win32/Win32DialogLauncher.h"
#include "app/win32/Win32MainWindow.h"
#include "app/win32/Win32PowerApi.h"
#include "app/win32/Win32ProgramInfo.h"
#include "app/win32/Win32ScheduleView.h"
#include "app/win32/Win32WindowSystem.h"
#include "common/win32/WindowProcedure.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "common/win32/Win32RegistryApi.h"
#include "settings/win32/Win32SettingsStore.h"
#include "tray/win32/Win32NotifyIconApi.h"
#include "winmsg/win32/Win32SubclassPlatform.h"
#include "winmsg/win32/Win32TimerPlatform.h"

namespace {

int RunHalcyra(HINSTANCE instance) {
    using namespace halcyra;
    win32::Win32RegistryApi registry;
    win32::Win32SettingsStore settings;
    win32::Win32HotkeyApi hotkeyApi;
    modHotkey hotkeys(hotkeyApi, settings);
    win32::Win32NotifyIconApi notify;
    win32::Win32PowerApi power;
    win32::Win32WindowSystem windows;
    win32::Win32ProgramInfo program;
    win32::Win32DialogLauncher dialogs(settings, hotkeys);
    win32::Win32MainWindow window(instance);
    // Before the form: the form's schedule uses them until its last moment.
    win32::Win32Clock clock;
    win32::Win32ScheduleView scheduleView(instance, window);
    HalcyraForm form(HalcyraForm::Services{window, windows, power, program, dialogs, settings,
                                           registry, notify, hotkeys, win32::SubclassModule()});
    scheduleView.SetForm(form);
    form.AttachSchedule(ScheduleServices{clock, clock, win32::TimerModule(), scheduleView});

    form.Form_Initialize();
    if (!window.Create(form)) {
        return 1;
    }
    try {
        if (!form.Form_Load()) {
            window.Discard();
            return 0;
        }
    } catch (...) {
        // Shown as from any handler; the return then takes down what was set up so far.
        win32::ShowEscapedError(window.Hwnd());
        return 1;
    }

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab and the access keys move between the main window's controls.
        if (window.Hwnd() && ::IsDialogMessageA(window.Hwnd(), &msg)) {
            continue;
        }
        if (scheduleView.Warning() && ::IsDialogMessageA(scheduleView.Warning(), &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return RunHalcyra(instance);
    } catch (...) {
        halcyra::win32::ShowEscapedError(nullptr);
        return 1;
    }
}
