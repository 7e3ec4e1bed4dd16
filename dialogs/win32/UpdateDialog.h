#pragma once
// The Update dialog's window: forwards its buttons to UpdateForm.
#include <windows.h>

#include "common/win32/UniqueHandle.h"
#include "common/win32/WindowProcedure.h"
#include "dialogs/UpdateForm.h"
#include "dialogs/win32/DialogControls.h"
#include "dialogs/win32/Win32ShellOpener.h"

#include <optional>

namespace halcyra::win32 {

class UpdateDialog : public dialogs::IDialogWindow {
public:
    void Unload() override;

private:
    friend struct WindowProcedure<UpdateDialog>;
    void Adopt(HWND dialog) { hwnd_ = dialog; }
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Form_Initialize();
    void MakeVersionFont(int dpi);

    // Posted on a density change, with the new density.
    static constexpr UINT kRemakeFonts = WM_APP + 1;

    HWND hwnd_ = nullptr;
    DialogFontBase fontBase_{};
    Win32ShellOpener shell_;
    std::optional<dialogs::UpdateForm> form_;
    unique_hfont versionFont_;
};

} // namespace halcyra::win32
