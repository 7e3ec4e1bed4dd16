#pragma once
// Opens the program's dialogs modally; each call returns when the dialog has closed.
#include "common/PlatformTypes.h"

namespace halcyra {

class IDialogLauncher {
public:
    virtual ~IDialogLauncher() = default;
    virtual void ShowAbout(WindowHandle owner) = 0;
    virtual void ShowOptions(WindowHandle owner) = 0;
    virtual void ShowUpdate(WindowHandle owner) = 0;
};

} // namespace halcyra
