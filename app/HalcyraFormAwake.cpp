// The main window's keeping awake: its controller beside the form, and the tray following it.
#include "app/AwakeController.h"
#include "app/HalcyraForm.h"

namespace halcyra {

void HalcyraForm::AttachAwake(const AwakeServices& services,
                              std::function<std::optional<AwakeRequest>()> ask,
                              std::function<void(const std::string& status)> show) {
    AwakeController::Hooks hooks{
        [this] { return s_.view.Handle(); },
        std::move(ask),
        [this, show = std::move(show)](const std::string& status) {
            if (show) {
                show(status); // the window's row and menus, and which picture is the tray's
            }
            if (sysIcon_) {
                sysIcon_->IconHandle(s_.view.HalcyraImagePicture());
            }
            TrayChanged();
        },
    };
    awake_ = std::make_unique<AwakeController>(services, s_.windows, std::move(hooks));
}

} // namespace halcyra
