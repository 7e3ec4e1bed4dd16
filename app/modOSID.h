#pragma once
// Which family of Windows is running: the NT family or the older one.
#include <cstdint>

#include "app/IPowerApi.h"

namespace halcyra::modOSID {

// -1 for the NT family, 0 otherwise (a failed query counts as the older family). Asked anew
// at every call.
std::int16_t IsNTFamily(IPowerApi& api);

} // namespace halcyra::modOSID
