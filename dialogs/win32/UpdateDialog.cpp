#include <windows.h>
#include <commctrl.h>

#include "dialogs/win32/UpdateDialog.h"

#include "dialogs/MakerAddresses.h"
#include "common/win32/AccessibleControls.h"
#include "common/win32/CommonControls.h"
#include "dialogs/win32/DialogControls.h"
#include "dialogs/win32/DialogIds.h"

#include <string>
#include <utility>

namespace halcyra::win32 {

namespace {

// The dialog manager makes a focused push button the default one, and Enter then presses it.
// These buttons never report themselves as default, so Enter falls through to IDOK, which
// the dialog ignores.
LRESULT CALLBACK NeverDefaultButton(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        return comctl::DefSubclassProc(button, message, wParam, lParam) & ~DLGC_DEFPUSHBUTTON;
    }
    if (message == WM_NCDESTROY) {
        comctl::RemoveWindowSubclass(button, NeverDefaultButton, id);
    }
    return comctl::DefSubclassProc(button, message, wParam, lParam);
}

} // namespace

INT_PTR UpdateDialog::Form_Initialize() {
    form_.emplace(reinterpret_cast<WindowHandle>(hwnd_), *this, shell_);
    fontBase_ = ReadDialogFont(hwnd_);
    MakeVersionFont(fontBase_.dpi);
    for (int id : {IDC_UPDATE_CHECK, IDC_UPDATE_CLOSE}) {
        comctl::SetWindowSubclass(::GetDlgItem(hwnd_, id), NeverDefaultButton, 0, 0);
    }
    DescribeControls(hwnd_);
    // The tool tip keeps a copy of its text.
    AddTooltip(CreateTooltips(hwnd_), ::GetDlgItem(hwnd_, IDC_UPDATE_CHECK),
               std::string(dialogs::kProductHomePage).c_str());
    return TRUE;
}

void UpdateDialog::MakeVersionFont(int dpi) {
    unique_hfont font = DeriveDialogFont(fontBase_, dpi, 18, false);
    ::SendDlgItemMessageA(hwnd_, IDC_UPDATE_VERSION, WM_SETFONT,
                          reinterpret_cast<WPARAM>(font.get()), TRUE);
    versionFont_ = std::move(font); // the old one goes once the label holds the new one
}

INT_PTR UpdateDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return Form_Initialize();
    case WM_DPICHANGED:
        // The dialog manager scales what it made; the large font is ours to make again, after
        // it has done so.
        ::PostMessageA(hwnd_, kRemakeFonts, LOWORD(wParam), 0);
        return FALSE;
    case kRemakeFonts:
        MakeVersionFont(static_cast<int>(wParam));
        return TRUE;
    case WM_COMMAND:
        // IDOK (Enter) and IDCANCEL (Escape) come from the keyboard only: neither button is the
        // default or the cancel button, so both keys do nothing.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_UPDATE_CHECK) {
            form_->CommandCheck_Click();
        } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_UPDATE_CLOSE) {
            form_->CommandClose_Click();
        }
        return TRUE;
    case DM_GETDEFID:
        // No default button, even while a button has the focus, so Enter presses nothing.
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_CLOSE:
        // The close box; the dialog manager would otherwise turn it into IDCANCEL.
        Unload();
        return TRUE;
    default:
        return FALSE;
    }
}

void UpdateDialog::Unload() {
    ::EndDialog(hwnd_, 0);
}

} // namespace halcyra::win32
