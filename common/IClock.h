#pragma once
// Time as the schedule reads it: a running count that never jumps, the wall clock, and the
// local time zone's rules, so that a test can move all of them across midnight, a
// daylight-saving change or a sleep without waiting.
#include <chrono>
#include <cstdint>
#include <optional>

namespace halcyra {

struct LocalTime {
    int year = 1970;
    int month = 1; // 1 to 12
    int day = 1;   // 1 to 31
    int hour = 0;
    int minute = 0;
    bool operator==(const LocalTime&) const = default;
};

// The same minute on the calendar day that many days later (or earlier), months and years
// carried over; the schedule and keeping awake both step to "tomorrow" with it.
inline LocalTime AddDays(const LocalTime& t, int days) {
    using namespace std::chrono;
    const year_month_day ymd{
        sys_days{year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                day{static_cast<unsigned>(t.day)}}} +
        std::chrono::days{days}};
    LocalTime out = t;
    out.year = static_cast<int>(ymd.year());
    out.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    out.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    return out;
}

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds that keep counting through sleep and never move when the clock is set.
    virtual std::int64_t NowMs() const = 0;
    // The wall clock: seconds since 1970-01-01 00:00 UTC; jumps when the clock is set.
    virtual std::int64_t UtcSeconds() const = 0;
    // What the local clock shows at that moment (seconds dropped).
    virtual LocalTime ToLocal(std::int64_t utcSeconds) const = 0;
    // The moment the local clock shows that minute; none when a daylight-saving change skips
    // it; the earlier one when the clock shows it twice.
    virtual std::optional<std::int64_t> FromLocal(const LocalTime& local) const = 0;
};

// When the user last pressed a key or moved the mouse, on IClock::NowMs's count.
class ILastInput {
public:
    virtual ~ILastInput() = default;
    virtual std::int64_t LastInputMs() const = 0;
};

} // namespace halcyra
