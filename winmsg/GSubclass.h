#pragma once
// The subclassing operations as an object: each method forwards to the module unchanged.
#include <cstdint>

#include "winmsg/MSubclass.h"

namespace halcyra {

class GSubclass {
public:
    explicit GSubclass(MSubclass& module) : module_(module) {}

    void AttachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    void DetachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    std::uint32_t CurrentMessage() const;
    // 0 if the call raises.
    LResult CallOldWindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                              LParam lParam) noexcept;

private:
    MSubclass& module_;
};

} // namespace halcyra
