#pragma once
// Routes chosen messages of a window to ISubclass clients by replacing the window's procedure.
// All bookkeeping lives in the window's own named properties; this object holds only the two
// values that describe the dispatch in progress. (Declared API; see the winmsg folder.)
#include <cstdint>

#include "common/PlatformTypes.h"
#include "winmsg/ISubclass.h"

namespace halcyra {

class ISubclassPlatform;

class MSubclass {
public:
    explicit MSubclass(ISubclassPlatform& platform);

    void AttachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    void DetachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    std::uint32_t CurrentMessage() const { return currentMessage_; }
    LResult CallOldWindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam, LParam lParam);

    // The replacement window procedure's body, called for every message of a subclassed window.
    LResult WindowProc(WindowHandle hwnd, std::uint32_t msg, WParam wParam, LParam lParam);

private:
    ISubclassPlatform& platform_;
    std::uint32_t currentMessage_ = 0;
    WindowProcAddress currentOldProc_ = 0;
};

} // namespace halcyra
