#include "app/CommandLine.h"

#include <cstdlib>

namespace halcyra {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Paths compare without regard to the case of their ASCII letters, as the file system does.
bool StartsWithPath(std::string_view text, std::string_view path) {
    if (path.empty() || text.size() < path.size()) {
        return false;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(path[i])) {
            return false;
        }
    }
    // The path must be the whole program name, not the start of a longer one.
    return text.size() == path.size() || IsBlank(text[path.size()]);
}

// Where the program's name ends when it is written without quotes.
std::size_t UnquotedNameLength(std::string_view text, std::string_view programPath) {
    if (StartsWithPath(text, programPath)) {
        return programPath.size();
    }
    constexpr std::string_view kExtension = ".exe";
    if (programPath.size() > kExtension.size()) {
        const std::string_view stem = programPath.substr(0, programPath.size() - kExtension.size());
        const std::string_view extension = programPath.substr(stem.size());
        if (StartsWithPath(extension, kExtension) && StartsWithPath(text, stem)) {
            return stem.size();
        }
    }
    std::size_t i = 0;
    while (i < text.size() && !IsBlank(text[i])) {
        ++i;
    }
    return i;
}
} // namespace

std::string ArgumentText(std::string_view commandLine, std::string_view programPath) {
    std::size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) {
        ++i;
    }
    if (i < commandLine.size() && commandLine[i] == '"') {
        const std::size_t close = commandLine.find('"', i + 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
        while (i < commandLine.size() && !IsBlank(commandLine[i])) {
            ++i;
        }
    } else {
        i += UnquotedNameLength(commandLine.substr(i), programPath);
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
