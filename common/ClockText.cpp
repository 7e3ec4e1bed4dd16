#include "common/ClockText.h"

namespace halcyra::clockText {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a run of digits, none for anything else or nothing at all.
std::optional<int> Digits(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<ClockTime> ParseClockTime(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3) {
        return std::nullopt;
    }
    const auto hour = Digits(text.substr(0, colon));
    const auto minute = Digits(text.substr(colon + 1));
    if (!hour || !minute || *hour > kLastHour || *minute > kLastMinute) {
        return std::nullopt;
    }
    return ClockTime{*hour, *minute};
}

std::optional<int> ParseMinutes(std::string_view text) {
    const auto value = text.size() <= kMinutesDigits ? Digits(text) : std::nullopt;
    if (!value || *value < kMinMinutes || *value > kMaxMinutes) {
        return std::nullopt;
    }
    return value;
}

std::string ClockText(int hour, int minute) {
    return TwoDigits(hour) + ":" + TwoDigits(minute);
}

std::string TwoDigits(int value) {
    return std::string(value < 10 ? "0" : "") + std::to_string(value % 100);
}

} // namespace halcyra::clockText
