#pragma once
// The user asked and told with the system's message box.
#include "common/IPrompt.h"

namespace halcyra::win32 {

class Win32Prompt final : public IPrompt {
public:
    Answer Ask(WindowHandle owner, std::string_view text, std::string_view title,
               MessageIcon icon) override;
    void Tell(WindowHandle owner, std::string_view text, std::string_view title,
              MessageIcon icon) override;
};

} // namespace halcyra::win32
