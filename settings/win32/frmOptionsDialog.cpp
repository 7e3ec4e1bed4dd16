#include <windows.h>

#include "settings/win32/frmOptionsDialog.h"

#include <string>

#include "common/win32/AccessibleControls.h"
#include "common/win32/Win32Prompt.h"
#include "common/win32/WindowProcedure.h"

#include "settings/IOptionsView.h"
#include "settings/SettingsKeys.h"
#include "settings/frmOptions.h"
#include "settings/win32/Win32KeyboardLayout.h"
#include "settings/win32/frmOptionsResources.h"

namespace halcyra::win32 {

namespace {

// One opening of the dialog: the window side of frmOptions.
class OptionsDialog final : public halcyra::IOptionsView {
public:
    OptionsDialog(halcyra::ISettingsStore& store, halcyra::modHotkey& hotkeys,
                  halcyra::IKeyboardLayout& layout)
        : form_(*this, prompt_, store, hotkeys, layout) {}

    WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(hwnd_); }
    int SelectedPosition(int row) override {
        return static_cast<int>(
            ::SendDlgItemMessageA(hwnd_, IDC_OPTIONS_COMBO0 + row, CB_GETCURSEL, 0, 0));
    }
    void SelectPosition(int row, int position) override {
        ::SendDlgItemMessageA(hwnd_, IDC_OPTIONS_COMBO0 + row, CB_SETCURSEL,
                              static_cast<WPARAM>(position), 0);
    }
    void Close() override { ::EndDialog(hwnd_, IDOK); }

private:
    friend struct WindowProcedure<OptionsDialog>;
    void Adopt(HWND dialog) { hwnd_ = dialog; }
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Form_Load();
    void OnCommand(int id);

    HWND hwnd_ = nullptr;
    Win32Prompt prompt_; // before the form, which holds it
    halcyra::frmOptions form_;
};

INT_PTR OptionsDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Form_Load();
        return TRUE; // focus to the first tab stop: OK
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) {
            return FALSE;
        }
        OnCommand(LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void OptionsDialog::Form_Load() {
    // Texts come from the same constants the logic uses, so the template cannot drift.
    const std::string caption(halcyra::frmOptions::kCaption);
    ::SetWindowTextA(hwnd_, caption.c_str());
    const std::string frame(halcyra::frmOptions::kFrameCaption);
    ::SetDlgItemTextA(hwnd_, IDC_OPTIONS_FRAME, frame.c_str());
    for (int row = 0; row < halcyra::frmOptions::kRows; ++row) {
        const std::string label(
            halcyra::settings::kHotkeyPairs[static_cast<std::size_t>(row)].optionsCaption);
        ::SetDlgItemTextA(hwnd_, IDC_OPTIONS_LABEL0 + row, label.c_str());
        for (int position = 0; position < halcyra::frmOptions::kEntryCount; ++position) {
            const std::string entry(halcyra::frmOptions::Entry(position));
            ::SendDlgItemMessageA(hwnd_, IDC_OPTIONS_COMBO0 + row, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(entry.c_str()));
        }
    }
    DescribeControls(hwnd_); // each list is named by the label before it
    form_.Form_Load();
}

void OptionsDialog::OnCommand(int id) {
    switch (id) {
    case IDOK: // the default button, so Enter too
        form_.cmdOK_Click();
        break;
    case IDCANCEL: // Escape and the close box as well
        form_.cmdCancel_Click();
        break;
    case IDC_OPTIONS_APPLY:
        form_.cmdApply_Click();
        break;
    default:
        break;
    }
}

} // namespace

void ShowOptionsDialog(HWND owner, halcyra::ISettingsStore& store, halcyra::modHotkey& hotkeys) {
    Win32KeyboardLayout layout;
    ShowOptionsDialog(owner, store, hotkeys, layout);
}

void ShowOptionsDialog(HWND owner, halcyra::ISettingsStore& store, halcyra::modHotkey& hotkeys,
                       halcyra::IKeyboardLayout& layout) {
    OptionsDialog dialog(store, hotkeys, layout);
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), owner,
                      WindowProcedure<OptionsDialog>::Dialog, reinterpret_cast<LPARAM>(&dialog));
}

} // namespace halcyra::win32
