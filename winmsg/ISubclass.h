#pragma once
// What a client implements to receive the window messages it attached to.
#include <cstdint>

#include "common/PlatformTypes.h"

namespace halcyra {

enum EMsgResponse : std::int32_t {
    ResponseOnly = 0,    // the dispatcher does not call the previous procedure
    ResponseThenOld = 1, // asked of the last client: previous procedure after, its result wins
    OldThenResponse = 2, // asked of the first client: previous procedure before, result dropped
};

// Used as it stands, the interface keeps MsgResponse as a plain value and answers every message
// with 0; a client overrides what it needs (both MsgResponse members or neither, or the one it
// leaves out is hidden).
class ISubclass {
public:
    virtual ~ISubclass() = default;

    // Get/set how you will respond to a message. Asked whenever a message is encountered; call
    // CurrentMessage to see which message you are responding to.
    virtual std::int32_t MsgResponse() { return msgResponse_; }
    virtual void MsgResponse(std::int32_t RHS) { msgResponse_ = RHS; }

    // Called whenever a message you have subclassed is sent.
    virtual LResult WindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                               LParam lParam) {
        (void)hwnd;
        (void)iMsg;
        (void)wParam;
        (void)lParam;
        return 0;
    }

private:
    std::int32_t msgResponse_ = ResponseOnly;
};

} // namespace halcyra
