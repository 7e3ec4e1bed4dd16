#pragma once
// Holding the computer (and, when asked, the screen) awake through the system, with a reason the
// system shows to administrators. One hold at a time: each call replaces the one before.
#include <string>
#include <string_view>

namespace halcyra {

struct PowerHoldResult {
    bool held = false;
    std::string why; // the system's reason for a refusal, for the user
};

class IPowerRequest {
public:
    virtual ~IPowerRequest() = default;
    // Holds the computer awake (and the screen with display) under reason, in place of what was
    // held; asked again after every wake, as some systems drop holds then. A refusal leaves
    // what was held before as it was.
    virtual PowerHoldResult Hold(bool display, std::string_view reason) = 0;
    // Lets go of what is held; nothing when nothing is.
    virtual void Release() = 0;
};

} // namespace halcyra
