#include "winmsg/MSubclass.h"

#include "common/RaisedError.h"
#include "common/ScopeExit.h"

namespace halcyra {

namespace {

// Handles and message numbers are written as the platform's signed values, so one window
// always gets the same names whoever formats them.
std::string HandleText(WindowHandle hwnd) {
    return std::to_string(static_cast<std::intptr_t>(hwnd));
}
std::string MessageText(std::uint32_t msg) {
    return std::to_string(static_cast<std::int32_t>(msg));
}

std::uintptr_t ClientValue(ISubclass& iwp) {
    return reinterpret_cast<std::uintptr_t>(&iwp);
}

// A count entry read as the signed number it stands for.
std::intptr_t Count(std::uintptr_t value) {
    return static_cast<std::intptr_t>(value);
}

} // namespace

MSubclass::MSubclass(ISubclassPlatform& platform) : platform_(platform) {}

std::string MSubclass::OldProcName(WindowHandle hwnd) {
    return HandleText(hwnd);
}

std::string MSubclass::WindowCountName(WindowHandle hwnd) {
    return "C" + HandleText(hwnd);
}

std::string MSubclass::MessageCountName(WindowHandle hwnd, std::uint32_t iMsg) {
    return HandleText(hwnd) + "#" + MessageText(iMsg) + "C";
}

std::string MSubclass::ClientName(WindowHandle hwnd, std::uint32_t iMsg, std::uintptr_t position) {
    return HandleText(hwnd) + "#" + MessageText(iMsg) + "#" + std::to_string(position);
}

void MSubclass::Raise(std::int32_t code, const char* description) {
    throw RaisedError(ObjectErrorNumber(code), platform_.ProgramName() + ".WindowProc",
                      description);
}

void MSubclass::AttachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg) {
    if (!platform_.IsWindow(hwnd)) {
        Raise(kInvalidWindow, "Invalid window");
    }
    if (platform_.WindowProcessId(hwnd) != platform_.CurrentProcessId()) {
        Raise(kExternalWindow, "Can't modify external window");
    }

    const std::string windowCount = WindowCountName(hwnd);
    const std::intptr_t c = Count(platform_.GetProperty(hwnd, windowCount));
    if (c > 0) {
        platform_.SetProperty(hwnd, windowCount, static_cast<std::uintptr_t>(c + 1));
    } else {
        const WindowProcAddress previous =
            platform_.InstallWindowProc(hwnd, platform_.ReplacementWindowProc());
        if (previous == 0) {
            Raise(kCantSubclass, "Can't subclass window");
        }
        platform_.SetProperty(hwnd, OldProcName(hwnd), previous);
        platform_.SetProperty(hwnd, windowCount, 1);
    }

    const std::string messageCount = MessageCountName(hwnd, iMsg);
    const std::intptr_t m = Count(platform_.GetProperty(hwnd, messageCount));
    for (std::intptr_t i = 1; i <= m; ++i) {
        if (platform_.GetProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(i))) ==
            ClientValue(iwp)) {
            // Give back the attachment counted above, or the window could never be released.
            ReleaseWindow(hwnd);
            Raise(kAlreadyHandled, "Message already handled by another class");
        }
    }
    const std::intptr_t next = m > 0 ? m + 1 : 1;
    platform_.SetProperty(hwnd, messageCount, static_cast<std::uintptr_t>(next));
    platform_.SetProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(next)),
                          ClientValue(iwp));
}

void MSubclass::ReleaseWindow(WindowHandle hwnd) {
    const std::string windowCount = WindowCountName(hwnd);
    const std::intptr_t c = Count(platform_.GetProperty(hwnd, windowCount));
    if (c == 1) {
        const std::string oldProc = OldProcName(hwnd);
        const WindowProcAddress previous = platform_.GetProperty(hwnd, oldProc);
        // Dispatches of this window still running hold on to the procedure they started with,
        // as if they had read it first thing.
        for (Dispatch* d = dispatching_; d != nullptr; d = d->outer) {
            if (d->hwnd == hwnd && !d->known) {
                d->previous = previous;
                d->known = true;
            }
        }
        if (currentWindow_ == hwnd && !currentOldProcKnown_) {
            currentOldProc_ = previous;
            currentOldProcKnown_ = true;
        }
        platform_.InstallWindowProc(hwnd, previous);
        platform_.RemoveProperty(hwnd, oldProc);
        platform_.RemoveProperty(hwnd, windowCount);
    } else if (c > 1) {
        platform_.SetProperty(hwnd, windowCount, static_cast<std::uintptr_t>(c - 1));
    }
}

void MSubclass::DetachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg) {
    // Only a standing attachment of this client is undone: a stray detach must not release
    // the window under other clients or empty another client's position.
    const std::string messageCount = MessageCountName(hwnd, iMsg);
    const std::intptr_t m = Count(platform_.GetProperty(hwnd, messageCount));
    std::intptr_t d = 0;
    for (std::intptr_t i = 1; i <= m && d == 0; ++i) {
        if (platform_.GetProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(i))) ==
            ClientValue(iwp)) {
            d = i;
        }
    }
    if (d == 0) {
        return;
    }

    ReleaseWindow(hwnd);

    for (std::intptr_t i = d + 1; i <= m; ++i) {
        const std::uintptr_t client =
            platform_.GetProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(i)));
        platform_.SetProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(i - 1)),
                              client);
    }
    platform_.RemoveProperty(hwnd, ClientName(hwnd, iMsg, static_cast<std::uintptr_t>(m)));
    platform_.SetProperty(hwnd, messageCount, static_cast<std::uintptr_t>(m - 1));
}

LResult MSubclass::CallOldWindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                                     LParam lParam) {
    if (!currentOldProcKnown_) {
        currentOldProc_ = platform_.GetProperty(currentWindow_, OldProcName(currentWindow_));
        currentOldProcKnown_ = true;
    }
    return platform_.CallWindowProcedure(currentOldProc_, hwnd, iMsg, wParam, lParam);
}

WindowProcAddress MSubclass::Previous(Dispatch& dispatch) {
    if (!dispatch.known) {
        // The entry of one window holds one value: one already read for the current values
        // serves as well.
        if (currentWindow_ == dispatch.hwnd && currentOldProcKnown_) {
            dispatch.previous = currentOldProc_;
        } else {
            dispatch.previous = platform_.GetProperty(dispatch.hwnd, OldProcName(dispatch.hwnd));
        }
        dispatch.known = true;
        if (currentWindow_ == dispatch.hwnd && !currentOldProcKnown_) {
            currentOldProc_ = dispatch.previous;
            currentOldProcKnown_ = true;
        }
    }
    return dispatch.previous;
}

LResult MSubclass::WindowProc(WindowHandle hwnd, std::uint32_t msg, WParam wParam, LParam lParam) {
    Dispatch dispatch{hwnd, 0, false, dispatching_};
    const ScopeExit scope([this, outer = dispatching_] { dispatching_ = outer; });
    dispatching_ = &dispatch;
    bool calledOld = false;

    const std::intptr_t n = Count(platform_.GetProperty(hwnd, MessageCountName(hwnd, msg)));
    if (n < 1) {
        return platform_.CallWindowProcedure(Previous(dispatch), hwnd, msg, wParam, lParam);
    }

    LResult result = 0;
    for (std::intptr_t i = 1; i <= n; ++i) {
        const std::uintptr_t entry =
            platform_.GetProperty(hwnd, ClientName(hwnd, msg, static_cast<std::uintptr_t>(i)));
        if (entry == 0) {
            // A client detached while the message was being dispatched.
            result = platform_.CallWindowProcedure(Previous(dispatch), hwnd, msg, wParam, lParam);
            continue;
        }
        ISubclass& client = *reinterpret_cast<ISubclass*>(entry);
        currentMessage_ = msg;
        currentWindow_ = hwnd;
        currentOldProc_ = dispatch.previous;
        currentOldProcKnown_ = dispatch.known;

        if (i == 1 && client.MsgResponse() == OldThenResponse && !calledOld) {
            platform_.CallWindowProcedure(Previous(dispatch), hwnd, msg, wParam, lParam);
            calledOld = true;
        }
        result = client.WindowProc(hwnd, msg, wParam, lParam);
        if (i == n && client.MsgResponse() == ResponseThenOld && !calledOld) {
            result = platform_.CallWindowProcedure(Previous(dispatch), hwnd, msg, wParam, lParam);
            calledOld = true;
        }
    }
    return result;
}

} // namespace halcyra
