#pragma once
// Routes chosen messages of a window to ISubclass clients by replacing the window's procedure.
// All bookkeeping lives in the window's own named properties; this object holds only what
// describes the dispatch in progress (the current message and previous procedure).
//
// Property entries of window 1234 (numbers in signed decimal):
//   "1234"        the window's previous procedure
//   "C1234"       attachments standing on the window, over all messages and clients
//   "1234#786C"   clients attached to message 786
//   "1234#786#1"  the client at position 1 of message 786
// A client entry holds the ISubclass pointer itself and does not own it: a property cannot
// hold a counted reference without leaking it when the window goes away first, so the client
// detaches every attachment before it is destroyed (and never destroys itself from inside its
// own WindowProc).
#include <cstdint>
#include <string>

#include "common/PlatformTypes.h"
#include "winmsg/ISubclass.h"
#include "winmsg/ISubclassPlatform.h"

namespace halcyra {

class MSubclass {
public:
    static constexpr std::int32_t kCantSubclass = 13081;
    static constexpr std::int32_t kAlreadyHandled = 13082;
    static constexpr std::int32_t kInvalidWindow = 13083;
    static constexpr std::int32_t kExternalWindow = 13084;

    explicit MSubclass(ISubclassPlatform& platform);
    MSubclass(const MSubclass&) = delete;
    MSubclass& operator=(const MSubclass&) = delete;

    // Start subclassing for a particular message. Throws RaisedError 13081-13084.
    void AttachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    // Stop subclassing for a particular message. A detach without a standing attachment of
    // this client changes nothing.
    void DetachMessage(ISubclass& iwp, WindowHandle hwnd, std::uint32_t iMsg);
    // The message currently being worked on. Only valid in the MsgResponse and WindowProc of
    // a client.
    std::uint32_t CurrentMessage() const { return currentMessage_; }
    // Calls the window procedure that was installed before the subclass, as recorded by the
    // dispatch in progress.
    LResult CallOldWindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam, LParam lParam);

    // The replacement window procedure's body, called for every message of a subclassed window.
    LResult WindowProc(WindowHandle hwnd, std::uint32_t msg, WParam wParam, LParam lParam);

    // Entry names, shared with the tests that read the store.
    static std::string OldProcName(WindowHandle hwnd);
    static std::string WindowCountName(WindowHandle hwnd);
    static std::string MessageCountName(WindowHandle hwnd, std::uint32_t iMsg);
    static std::string ClientName(WindowHandle hwnd, std::uint32_t iMsg, std::uintptr_t position);

private:
    // One message in dispatch. Its window's previous procedure is read only when something
    // calls it: under some platforms every property read is a round trip to another process,
    // and a client that answers a message alone never needs it.
    struct Dispatch {
        WindowHandle hwnd;
        WindowProcAddress previous;
        bool known;
        Dispatch* outer; // the dispatch this one runs inside, if any
    };

    [[noreturn]] void Raise(std::int32_t code, const char* description);
    void ReleaseWindow(WindowHandle hwnd);
    WindowProcAddress Previous(Dispatch& dispatch);

    ISubclassPlatform& platform_;
    std::uint32_t currentMessage_ = 0;
    // The current previous procedure: of currentWindow_, still to be read unless known.
    WindowHandle currentWindow_ = 0;
    WindowProcAddress currentOldProc_ = 0;
    bool currentOldProcKnown_ = true;
    Dispatch* dispatching_ = nullptr; // innermost dispatch in progress
};

} // namespace halcyra
