#pragma once
// Routines the power actions share.
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/IPowerApi.h"

namespace halcyra::modHalcyra {

// Enables the shutdown privilege in the program's own token, which the NT family requires
// before it lets a process end the session or suspend the machine. Reports nothing; the
// privilege stays enabled for the rest of the process's life.
void EnableShutdownPrivilege(IPowerApi& api);

// How Standby can be done on this machine.
enum class StandbyPath {
    Suspend,      // a sleep state exists, or nothing is known: the suspend request
    DisplayOff,   // modern standby only: the system enters it when the display goes off
    NotAvailable, // neither
};
StandbyPath ChooseStandby(IPowerApi& api);

// True only when the capabilities are known and say the machine cannot hibernate.
bool HibernationUnavailable(IPowerApi& api);

inline constexpr std::string_view kStandbyUnavailable =
    "Standby is not available on this computer. You can use Hibernate or Shutdown instead.";
inline constexpr std::string_view kHibernateUnavailable =
    "Hibernate is not available on this computer. It can be turned on in the system's power "
    "options.";

// The report of a request the system refused: what could not be done and the system's reason.
std::string FailureText(std::string_view action, std::uint32_t error, std::string_view systemText);

} // namespace halcyra::modHalcyra
