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

class ISubclass {
public:
    virtual ~ISubclass() = default;
    virtual std::int32_t MsgResponse() = 0;
    virtual void MsgResponse(std::int32_t RHS) = 0;
    virtual LResult WindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                               LParam lParam) = 0;
};

} // namespace halcyra
