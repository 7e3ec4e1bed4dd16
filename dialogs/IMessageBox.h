#pragma once
#include "common/PlatformTypes.h"

#include <string>

namespace halcyra::dialogs {

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // A plain box: an OK button only and no icon, modal to owner.
    virtual void ShowPlain(WindowHandle owner, const std::string& text,
                           const std::string& title) = 0;
};

} // namespace halcyra::dialogs
