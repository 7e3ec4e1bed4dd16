#pragma once
// Opens the About, Options and Update dialogs modally over their owner.
#include "app/IDialogLauncher.h"
#include "settings/ISettingsStore.h"
#include "settings/modHotkey.h"

namespace halcyra::win32 {

class Win32DialogLauncher final : public IDialogLauncher {
public:
    Win32DialogLauncher(ISettingsStore& settings, modHotkey& hotkeys)
        : settings_(settings), hotkeys_(hotkeys) {}
    void ShowAbout(WindowHandle owner) override;
    void ShowOptions(WindowHandle owner) override;
    void ShowUpdate(WindowHandle owner) override;

private:
    ISettingsStore& settings_;
    modHotkey& hotkeys_;
};

} // namespace halcyra::win32
