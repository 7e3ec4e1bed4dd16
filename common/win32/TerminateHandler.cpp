// The C++ runtime's default terminate handler prints the uncaught exception's type by name,
// and for that links its whole symbol demangler and printf into the program (about a fifth of
// Halcyra.exe). A window program has no console to print to; it ends the same way without.
// Every window procedure catches what its handlers throw, so this runs only on a fault.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
