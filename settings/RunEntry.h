#pragma once
// The command line stored in the run-at-startup entry.
#include <string>
#include <string_view>

namespace halcyra::settings {

// folder (as the platform reports it) + "\" + exeName + ".exe /start", where exeName is the
// program's own file name without its extension, as the program reports it: "Halcyra.v2" stays
// "Halcyra.v2". A path holding a blank is put in double quotes: unquoted, the system would try
// to start a program named after the path's first word in its place at log-on.
std::string RunEntryData(std::string_view folder, std::string_view exeName);

} // namespace halcyra::settings
