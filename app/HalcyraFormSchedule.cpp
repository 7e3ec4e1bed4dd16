// The main window's scheduled action.
#include "app/HalcyraForm.h"

namespace halcyra {

std::string HalcyraForm::TrayTip() const {
    const std::string status = schedule_.Status();
    if (status.empty()) {
        return std::string(form::kTrayTip);
    }
    return std::string(form::kTitle) + " - " + status;
}

} // namespace halcyra
