#include "commandline/CommandLine.h"

#include <algorithm>
#include <cstdint>

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

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
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
    // Plain decimal numbers only: sign, digits with at most one point, an optional exponent.
    // Parsed here rather than by strtod, which brings the C runtime's whole conversion library
    // (hexadecimal, infinity and NaN spellings this text must refuse anyway) into the program.
    const std::string_view s = text.substr(first, last - first);
    std::size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        ++i;
    }
    // The first 19 significant digits fit a 64-bit integer exactly; later ones are too small to
    // change a double.
    constexpr int kKeptDigits = 19;
    std::uint64_t mantissa = 0;
    int kept = 0;
    std::int64_t exponent = 0;
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!IsDigit(c)) {
            break;
        }
        anyDigit = true;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (kept < kKeptDigits && (mantissa != 0 || digit != 0)) {
            mantissa = mantissa * 10 + digit;
            ++kept;
            exponent -= inFraction ? 1 : 0;
        } else if (kept == 0) {
            exponent -= inFraction ? 1 : 0;
        } else {
            exponent += inFraction ? 0 : 1;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
            ++i;
        }
        if (i == s.size() || !IsDigit(s[i])) {
            return std::nullopt;
        }
        // Beyond this every double is infinite or zero; saturating keeps the sum in range.
        constexpr std::int64_t kExponentLimit = 100000;
        std::int64_t written = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            written = std::min<std::int64_t>(written * 10 + (s[i] - '0'), kExponentLimit);
        }
        exponent += negativeExponent ? -written : written;
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    // The scaling runs in long double so that the rounding to double is (nearly always) the
    // correctly rounded value.
    long double value = static_cast<long double>(mantissa);
    if (mantissa != 0 && exponent != 0) {
        long double scale = 1;
        long double power = 10;
        for (std::int64_t n = exponent < 0 ? -exponent : exponent; n > 0; n /= 2) {
            if (n % 2 != 0) {
                scale *= power;
            }
            power *= power;
        }
        value = exponent < 0 ? value / scale : value * scale;
    }
    return static_cast<double>(negative ? -value : value);
}

} // namespace halcyra
