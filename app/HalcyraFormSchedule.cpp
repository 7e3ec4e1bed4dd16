// The main window's scheduled action and keeping awake, as the tray shows them.
#include "app/HalcyraForm.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

std::string HalcyraForm::TrayTip() const {
    const std::string status = schedule_.Status();
    const std::string awake = awake_.TipText();
    if (!awake.empty()) {
        // "Halcyra - awake until 18:00", the schedule's line under it.
        return status.empty() ? awake : awake + "\n" + status;
    }
    if (status.empty()) {
        return std::string(form::kTrayTip);
    }
    return std::string(form::kTitle) + " - " + status;
}

void HalcyraForm::TrayChanged() {
    // An armed schedule holds the computer awake until its action, as the user chose; the
    // screen may still turn off.
    const std::string armed = schedule_.Status();
    const bool keep = s_.settings.GetSetting(settings::kAppName, settings::kSection,
                                             settings::kScheduleKeepsAwake,
                                             settings::kScheduleKeepsAwakeDefault) != "0";
    if (!armed.empty() && keep) {
        awake_.Rules().HoldForSchedule(std::string(product::kName) + ": " + armed);
    } else {
        awake_.Rules().ReleaseForSchedule();
    }
    if (sysIcon_) {
        sysIcon_->TipText(TrayTip());
    }
}

} // namespace halcyra
