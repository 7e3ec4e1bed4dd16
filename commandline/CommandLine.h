#pragma once
// Reading the program's command line and its stored numbers.
#include <optional>
#include <string>
#include <string_view>

namespace halcyra {

// The text after the program's name on a command line: the name and the blanks after it are
// dropped, everything else is kept as it stands. The name ends at its closing quote when it is
// quoted; unquoted, it is the program's own full path (programPath, with or without ".exe",
// letter case aside) when the line starts with it, so that a folder with blanks written
// without quotes still ends where the path does; otherwise the name ends at the first blank.
std::string ArgumentText(std::string_view commandLine, std::string_view programPath);

// A stored setting as a number: the whole text (blanks around it allowed) must be a decimal
// number; anything else has no value.
std::optional<double> ParseNumber(std::string_view text);

} // namespace halcyra
