#pragma once
// The one way the programs ask the user Yes or No and tell them something: a modal box.
#include <string_view>

#include "common/PlatformTypes.h"

namespace halcyra {

// The icon of a box; None for a plain one.
enum class MessageIcon { None, Information, Question, Exclamation };

// How the user answered a Yes/No box; None when the box could not be shown.
enum class Answer { Yes, No, None };

class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Yes and No, modal to owner (0: owned by nobody); text and title in UTF-8.
    virtual Answer Ask(WindowHandle owner, std::string_view text, std::string_view title,
                       MessageIcon icon) = 0;
    // OK only; returns once the user has dismissed it.
    virtual void Tell(WindowHandle owner, std::string_view text, std::string_view title,
                      MessageIcon icon) = 0;
};

} // namespace halcyra
