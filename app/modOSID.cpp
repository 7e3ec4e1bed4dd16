#include "app/modOSID.h"

namespace halcyra::modOSID {

std::int16_t IsNTFamily(IPowerApi& api) {
    OsVersionInfo info{};
    info.dwOSVersionInfoSize = sizeof(OsVersionInfo);
    // Unchecked on purpose: a failed query leaves the platform id 0, the older family.
    api.GetVersionExA(&info);
    return info.dwPlatformId == power::kPlatformNt ? -1 : 0;
}

} // namespace halcyra::modOSID
