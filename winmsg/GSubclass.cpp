#include "winmsg/GSubclass.h"

namespace halcyra {

void GSubclass::AttachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg) {
    module_.AttachMessage(iwp, hwnd, iMsg);
}

void GSubclass::DetachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg) {
    module_.DetachMessage(iwp, hwnd, iMsg);
}

std::uint32_t GSubclass::CurrentMessage() const {
    return module_.CurrentMessage();
}

LResult GSubclass::CallOldWindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                                     LParam lParam) noexcept {
    try {
        return module_.CallOldWindowProc(hwnd, iMsg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

} // namespace halcyra
