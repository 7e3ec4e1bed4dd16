#pragma once
// What the dialogs' logic changes on its own window.
#include "common/PlatformTypes.h"

#include <cstdint>
#include <string>

namespace halcyra::dialogs {

using Colour = std::uint32_t; // 0x00BBGGRR

enum class AboutLink { EmailQuorvix, QuorvixWebSite, Update };
enum class AboutText { Caption, Title, Version };

class IDialogWindow {
public:
    virtual ~IDialogWindow() = default;
    // Closes the dialog; it is built afresh at its next opening.
    virtual void Unload() = 0;
};

class IAboutWindow : public IDialogWindow {
public:
    virtual void SetText(AboutText which, const std::string& text) = 0;
    virtual void SetLinkColour(AboutLink link, Colour colour) = 0;
};

class IDialogOpener {
public:
    virtual ~IDialogOpener() = default;
    // Shows the Update dialog modally; returns when it has been closed.
    virtual void ShowUpdateDialog(WindowHandle owner) = 0;
};

} // namespace halcyra::dialogs
