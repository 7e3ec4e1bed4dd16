#pragma once
// Routines the power actions share.
#include "app/IPowerApi.h"

namespace halcyra::modHalcyra {

// Enables the shutdown privilege in the program's own token, which the NT family requires
// before it lets a process end the session or suspend the machine. Reports nothing; the
// privilege stays enabled for the rest of the process's life.
void EnableShutdownPrivilege(IPowerApi& api);

} // namespace halcyra::modHalcyra
