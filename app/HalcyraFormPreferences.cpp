// The main window's check boxes and its dialog buttons.
#include <string>

#include "app/HalcyraForm.h"
#include "common/Registry.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

void HalcyraForm::Check1_Click() {
    const int value = s_.view.Check1Value();
    if (value == 1) {
        registry::WriteStringValue(s_.registry, reg::kCurrentUser, settings::kRunKeyPath,
                                   settings::kRunValueName, RunEntryData());
    } else if (value == 0) {
        registry::DeleteValue(s_.registry, reg::kCurrentUser, settings::kRunKeyPath,
                              settings::kRunValueName);
    }
}

void HalcyraForm::CheckRequest_Click() {
    const int value = s_.view.CheckRequestValue();
    s_.settings.SaveSetting(settings::kAppName, settings::kSection, settings::kConfirm,
                            std::to_string(value));
    confirm_ = value != 0;
}

void HalcyraForm::CommandAbout_Click() {
    s_.dialogs.ShowAbout(s_.view.Handle());
}

void HalcyraForm::CommandOptions_Click() {
    s_.dialogs.ShowOptions(s_.view.Handle());
}

void HalcyraForm::CommandUpdates_Click() {
    s_.dialogs.ShowUpdate(s_.view.Handle());
}

} // namespace halcyra
