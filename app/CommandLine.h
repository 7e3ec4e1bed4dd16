#pragma once
// Reading the program's command line and its stored numbers.
#include <optional>
#include <string>
#include <string_view>

namespace halcyra {

// The text after the program's name on a command line: the name (quoted or not) and the
// blanks after it are dropped, everything else is kept as it stands.
std::string ArgumentText(std::string_view commandLine);

// A stored setting as a number: the whole text (blanks around it allowed) must be a decimal
// number; anything else has no value.
std::optional<double> ParseNumber(std::string_view text);

} // namespace halcyra
