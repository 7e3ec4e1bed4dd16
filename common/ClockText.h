#pragma once
// The one grammar of a "when" as text: a clock time "H:MM" or "HH:MM" and a count of minutes.
// The Schedule and Keep awake dialogs, their stored choices and the command line all read and
// write it.
#include <optional>
#include <string>
#include <string_view>

namespace halcyra::clockText {

inline constexpr int kMinMinutes = 1;
inline constexpr int kMaxMinutes = 1440; // a day
inline constexpr int kLastHour = 23;
inline constexpr int kLastMinute = 59;
// The longest count of minutes and clock time a field or a command line may hold.
inline constexpr std::size_t kMinutesDigits = 4;
inline constexpr std::size_t kClockTimeLength = 5;

struct ClockTime {
    int hour = 0;
    int minute = 0;
    bool operator==(const ClockTime&) const = default;
};

// "7:05" or "07:05", 00:00 to 23:59; anything else has no value.
std::optional<ClockTime> ParseClockTime(std::string_view text);
// Digits only, kMinMinutes to kMaxMinutes; anything else has no value.
std::optional<int> ParseMinutes(std::string_view text);
// "07:05".
std::string ClockText(int hour, int minute);
// "05": a value below 100 with a leading zero.
std::string TwoDigits(int value);

} // namespace halcyra::clockText
