// The main window's scheduled action.
#include "app/HalcyraForm.h"
#include "app/AwakeController.h"
#include "schedule/ScheduleController.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

namespace {

// Until a schedule is attached there is nothing to arm.
class NoSchedule final : public IScheduleControl {
public:
    ArmResult Arm(const ScheduleRequest&, bool) override { return ArmResult::Invalid; }
    bool Cancel() override { return false; }
    std::string Status() const override { return {}; }
};

} // namespace

void HalcyraForm::AttachSchedule(const ScheduleServices& services) {
    ScheduleController::Hooks hooks{
        [this] { return s_.view.Handle(); },
        [this] { TrayChanged(); },
    };
    schedule_ = std::make_unique<ScheduleController>(services, s_.windows, s_.settings, *this,
                                                     std::move(hooks));
}

IScheduleControl& HalcyraForm::Schedule() {
    static NoSchedule none;
    if (schedule_) {
        return *schedule_;
    }
    return none;
}

std::string HalcyraForm::TrayTip() const {
    const std::string status = schedule_ ? schedule_->Status() : std::string();
    const std::string awake = awake_ ? awake_->TipText() : std::string();
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
    if (awake_) {
        const std::string armed = schedule_ ? schedule_->Status() : std::string();
        const bool keep = s_.settings.GetSetting(settings::kAppName, settings::kSection,
                                                 settings::kScheduleKeepsAwake,
                                                 settings::kScheduleKeepsAwakeDefault) != "0";
        if (!armed.empty() && keep) {
            awake_->Rules().HoldForSchedule(std::string(product::kName) + ": " + armed);
        } else {
            awake_->Rules().ReleaseForSchedule();
        }
    }
    if (sysIcon_) {
        sysIcon_->TipText(TrayTip());
    }
}

} // namespace halcyra
