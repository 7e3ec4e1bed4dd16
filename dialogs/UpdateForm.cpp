#include "dialogs/UpdateForm.h"

#include "dialogs/MakerAddresses.h"

#include <string>

namespace halcyra::dialogs {

UpdateForm::UpdateForm(WindowHandle self, IDialogWindow& window, IShellOpener& shell)
    : self_(self), window_(window), shell_(shell) {}

void UpdateForm::CommandCheck_Click() {
    shell_.OpenWithShell(self_, "open", std::string(kProductPage), kShowNormal);
}

void UpdateForm::CommandClose_Click() {
    window_.Unload();
}

} // namespace halcyra::dialogs
