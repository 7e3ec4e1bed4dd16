#pragma once
// What the Options dialog's logic needs from its window: the seven lists, and the window
// itself to own its questions.
#include "common/PlatformTypes.h"

namespace halcyra {

class IOptionsView {
public:
    virtual ~IOptionsView() = default;
    virtual WindowHandle Handle() const = 0;
    // Selected position of row 0..6's list, -1 when nothing is selected.
    virtual int SelectedPosition(int row) = 0;
    virtual void SelectPosition(int row, int position) = 0;
    virtual void Close() = 0;
};

} // namespace halcyra
