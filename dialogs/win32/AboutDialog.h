#pragma once
// The About dialog's window: forwards its controls' events to frmAbout and draws what
// frmAbout decides (link colours, texts).
#include <windows.h>

#include "common/win32/UniqueHandle.h"
#include "common/win32/Win32Prompt.h"
#include "common/win32/WindowProcedure.h"
#include "dialogs/frmAbout.h"
#include "dialogs/win32/DialogControls.h"
#include "dialogs/win32/Win32FileExists.h"
#include "dialogs/win32/Win32ProgramRunner.h"
#include "common/win32/Win32RegistryApi.h"
#include "dialogs/win32/Win32ShellOpener.h"

#include <optional>

namespace halcyra::win32 {

class AboutDialog : public dialogs::IAboutWindow, public dialogs::IDialogOpener {
public:
    void Unload() override;
    void SetText(dialogs::AboutText which, const std::string& text) override;
    void SetLinkColour(dialogs::AboutLink link, dialogs::Colour colour) override;
    void ShowUpdateDialog(WindowHandle owner) override;

private:
    friend struct WindowProcedure<AboutDialog>;
    static LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);

    void Adopt(HWND dialog) { hwnd_ = dialog; }
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Form_Initialize();
    void Form_Command(int id, int code);
    INT_PTR Form_CtlColorStatic(HDC dc, HWND control);
    bool Form_SetCursor(HWND over, int hitTest);
    void Form_Paint();
    void Link_MouseMove(int id);
    void MakeLinkFont(int dpi);

    // Posted on a density change, with the new density.
    static constexpr UINT kRemakeFonts = WM_APP + 1;
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }

    HWND hwnd_ = nullptr;
    Win32ShellOpener shell_;
    Win32RegistryApi registry_;
    Win32FileExists files_;
    Win32ProgramRunner programs_;
    Win32Prompt prompt_;
    std::optional<dialogs::frmAbout> form_;
    DialogFontBase fontBase_{};
    unique_hfont linkFont_;
    HCURSOR hand_ = nullptr;
};

} // namespace halcyra::win32
