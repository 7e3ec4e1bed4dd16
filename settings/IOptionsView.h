#pragma once
// What the Options dialog's logic needs from its window: the seven lists and a message box.
#include <string_view>

namespace halcyra {

class IOptionsView {
public:
    virtual ~IOptionsView() = default;
    // Selected position of row 0..6's list, -1 when nothing is selected.
    virtual int SelectedPosition(int row) = 0;
    virtual void SelectPosition(int row, int position) = 0;
    // OK button and exclamation icon; returns when the user has dismissed it.
    virtual void ShowWarning(std::string_view text, std::string_view title) = 0;
    // Yes and No with the exclamation icon, text in UTF-8; true for Yes.
    virtual bool Ask(std::string_view text, std::string_view title) = 0;
    virtual void Close() = 0;
};

} // namespace halcyra
