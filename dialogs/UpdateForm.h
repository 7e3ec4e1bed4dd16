#pragma once
// The Update dialog's logic: open the product page, close.
#include "common/PlatformTypes.h"
#include "dialogs/IDialogWindow.h"
#include "dialogs/IShellOpener.h"

namespace halcyra::dialogs {

class UpdateForm {
public:
    UpdateForm(WindowHandle self, IDialogWindow& window, IShellOpener& shell);

    // Stays open afterwards, so the page can be opened again.
    void CommandCheck_Click();
    void CommandClose_Click();

private:
    WindowHandle self_;
    IDialogWindow& window_;
    IShellOpener& shell_;
};

} // namespace halcyra::dialogs
