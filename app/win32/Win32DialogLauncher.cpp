#include <windows.h>

#include "app/win32/Win32DialogLauncher.h"
#include "common/win32/CommonControls.h"
#include "dialogs/win32/Dialogs.h"
#include "settings/win32/frmOptionsDialog.h"

namespace halcyra::win32 {

namespace {
// The owner, with the common controls made ready first: a dialog may be opened from the tray
// before the main window was ever shown.
HWND ToHwnd(WindowHandle h) {
    comctl::InitCommonControls();
    return reinterpret_cast<HWND>(h);
}
} // namespace

void Win32DialogLauncher::ShowAbout(WindowHandle owner) {
    ShowAboutDialog(ToHwnd(owner));
}

void Win32DialogLauncher::ShowOptions(WindowHandle owner) {
    ShowOptionsDialog(ToHwnd(owner), settings_, hotkeys_);
}

void Win32DialogLauncher::ShowUpdate(WindowHandle owner) {
    ShowUpdateDialog(ToHwnd(owner));
}

} // namespace halcyra::win32
