#pragma once
// Keeping awake as the command line drives it: start (or replace), stop, and the status line.
#include <string>

#include "awake/AwakeRequest.h"

namespace halcyra {

class IAwakeControl {
public:
    virtual ~IAwakeControl() = default;
    virtual AwakeResult Start(const AwakeRequest& request) = 0;
    // False when it was not on.
    virtual bool Stop() = 0;
    // "Kept awake until 18:00"; empty when off.
    virtual std::string Status() const = 0;
};

} // namespace halcyra
