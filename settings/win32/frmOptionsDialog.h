#pragma once
// The Options dialog on the desktop: template IDD_OPTIONS in settings/win32/frmOptions.rc,
// which must be linked into the program that opens it.
#include <windows.h>

#include "settings/IKeyboardLayout.h"
#include "settings/ISettingsStore.h"
#include "settings/modHotkey.h"

namespace halcyra::win32 {

// Modal with owner as its owner; built afresh on each call and gone when it returns.
void ShowOptionsDialog(HWND owner, halcyra::ISettingsStore& store, halcyra::modHotkey& hotkeys);
// The same over a given keyboard layout instead of the active one.
void ShowOptionsDialog(HWND owner, halcyra::ISettingsStore& store, halcyra::modHotkey& hotkeys,
                       halcyra::IKeyboardLayout& layout);

} // namespace halcyra::win32
