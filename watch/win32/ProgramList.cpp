#include "watch/win32/ProgramList.h"

#include "common/win32/Utf8.h"
#include "watch/ProcessWatcher.h"

namespace halcyra::win32 {

ProgramList::ProgramList(IProcessPort& processes)
    : programs_(ProcessWatcher(processes).WindowedPrograms()) {
    // Waiting for itself would never end while it waits.
    const ProcessId self = ::GetCurrentProcessId();
    std::erase_if(programs_, [self](const WindowedProgram& p) { return p.id == self; });
}

void ProgramList::Fill(HWND list, std::string_view chosen) const {
    for (const WindowedProgram& program : programs_) {
        const std::wstring line = Widen(program.title + " (" + program.fileName + ")");
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        if (!chosen.empty() && ProcessWatcher::SameName(programs_[i].fileName, chosen)) {
            ::SendMessageW(list, LB_SETCURSEL, i, 0);
            break;
        }
    }
}

std::string ProgramList::Selected(HWND list) const {
    const auto index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<std::size_t>(index) < programs_.size()
               ? programs_[static_cast<std::size_t>(index)].fileName
               : std::string();
}

} // namespace halcyra::win32
