#include "app/CommandLine.h"

#include <cstdlib>

namespace halcyra {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

std::string ArgumentText(std::string_view commandLine) {
    std::size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) {
        ++i;
    }
    if (i < commandLine.size() && commandLine[i] == '"') {
        const std::size_t close = commandLine.find('"', i + 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !IsBlank(commandLine[i])) {
        ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) {
        ++i;
    }
    return std::string(commandLine.substr(i));
}

std::optional<double> ParseNumber(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    if (first == last) {
        return std::nullopt;
    }
    const std::string digits(text.substr(first, last - first));
    // Only plain decimal numbers: no hexadecimal, infinity or NaN spellings.
    for (const char c : digits) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) {
            return std::nullopt;
        }
    }
    char* end = nullptr;
    const double value = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace halcyra
