#include "actions/modOSID.h"

namespace halcyra::modOSID {

bool IsNTFamily(IPowerApi& api) {
    OsVersionInfo info{};
    info.dwOSVersionInfoSize = sizeof(OsVersionInfo);
    // Unchecked on purpose: a failed query leaves the platform id 0, the older family.
    api.GetVersionExA(&info);
    return info.dwPlatformId == power::kPlatformNt;
}

} // namespace halcyra::modOSID
