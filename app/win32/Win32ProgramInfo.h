#pragma once
// The running program's command line, location and whether another copy runs.
#include <windows.h>

#include "app/IProgramInfo.h"
#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

class Win32ProgramInfo final : public IProgramInfo {
public:
    std::string Arguments() const override;
    std::string Folder() const override;
    std::string ExeName() const override;
    bool AnotherCopyRunning() override;
    bool AnotherCopyHolds(std::uint32_t key) override;

    // The name every copy of the program holds while it runs, for this user's session.
    static constexpr const char* kInstanceMutex = "Local\\Quorvix.Halcyra.Running";
    // Sent to another copy's main window with a key in wParam; it answers kHolds when it holds
    // CTRL+ALT and that key. A copy that does not know the message answers 0.
    static constexpr const char* kHoldsHotkeyMessage = "Quorvix.Halcyra.HoldsHotkey";
    static constexpr LRESULT kHolds = 0x4859;

private:
    static std::string ModulePath();
    unique_handle instance_;
};

} // namespace halcyra::win32
