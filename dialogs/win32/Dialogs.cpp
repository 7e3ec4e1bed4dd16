#include <windows.h>
#include <commctrl.h>

#include "dialogs/win32/Dialogs.h"

#include "common/win32/CommonControls.h"

#include "dialogs/win32/AboutDialog.h"
#include "dialogs/win32/DialogIds.h"
#include "dialogs/win32/UpdateDialog.h"

namespace halcyra::win32 {

namespace {

void InitTooltipClass() {
    comctl::InitCommonControlsEx(ICC_BAR_CLASSES); // tooltips
}

} // namespace

void ShowAboutDialog(HWND owner) {
    InitTooltipClass();
    AboutDialog dialog;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                      WindowProcedure<AboutDialog>::Dialog, reinterpret_cast<LPARAM>(&dialog));
}

void ShowUpdateDialog(HWND owner) {
    InitTooltipClass();
    UpdateDialog dialog;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UPDATE), owner,
                      WindowProcedure<UpdateDialog>::Dialog, reinterpret_cast<LPARAM>(&dialog));
}

} // namespace halcyra::win32
