#pragma once
#include "dialogs/IMessageBox.h"

namespace halcyra::win32 {

class Win32MessageBox : public dialogs::IMessageBox {
public:
    void ShowPlain(WindowHandle owner, const std::string& text, const std::string& title) override;
};

} // namespace halcyra::win32
