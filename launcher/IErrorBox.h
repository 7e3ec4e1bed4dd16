#pragma once
// How the launcher tells the user that something went wrong.
#include <string_view>

namespace halcyra {

class IErrorBox {
public:
    virtual ~IErrorBox() = default;
    // Shows `text` in a modal error box and returns when the user has closed it.
    virtual void ShowError(std::string_view text, std::string_view caption) = 0;
};

} // namespace halcyra
