#pragma once
// The running programs that have a window, as a dialog's list box shows them: "Render - Blender
// (blender.exe)", sorted by title, this program's own windows left out. A line picked names its
// program by file name. The Keep awake and Schedule dialogs share it.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "watch/IProcessPort.h"

namespace halcyra::win32 {

class ProgramList {
public:
    // The list as it is now; it is not taken again while the dialog is open.
    explicit ProgramList(IProcessPort& processes);

    // Fills the list box, with the line of the program named chosen selected.
    void Fill(HWND list, std::string_view chosen) const;
    // The file name of the selected line; empty when none is.
    std::string Selected(HWND list) const;

private:
    std::vector<WindowedProgram> programs_;
};

} // namespace halcyra::win32
