#pragma once
// Which family of Windows is running: the NT family or the older one.
#include "actions/IPowerApi.h"

namespace halcyra::modOSID {

// True for the NT family (a failed query counts as the older family). Asked anew at every
// call.
bool IsNTFamily(IPowerApi& api);

} // namespace halcyra::modOSID
