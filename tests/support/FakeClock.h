#pragma once
// One clock and one last-input source in memory. The local zone is a base offset and a list of
// changes (daylight saving), so a test can cross midnight, a change of the clock or a sleep.
#include <chrono>
#include <utility>
#include <vector>

#include "common/IClock.h"

namespace halcyra::test {

// Seconds since 1970 of a local date and time read as if it were UTC.
inline std::int64_t CivilSeconds(const LocalTime& t) {
    using namespace std::chrono;
    const sys_days day{year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                      std::chrono::day{static_cast<unsigned>(t.day)}}};
    return std::int64_t{day.time_since_epoch().count()} * 86400 + t.hour * 3600 + t.minute * 60;
}

class FakeClock : public IClock, public ILastInput {
public:
    std::int64_t nowMs = 1'000'000;
    std::int64_t utc = CivilSeconds({2026, 3, 28, 12, 0});
    std::int64_t offset = 3600; // local minus UTC, in seconds, before any change
    std::vector<std::pair<std::int64_t, std::int64_t>> changes; // from utc on, this offset
    std::int64_t lastInputMs = 0;

    // Local wall-clock time set to t (the running count stays).
    void SetLocal(const LocalTime& t) { utc = FromLocal(t).value_or(utc); }
    void Advance(std::int64_t ms) {
        nowMs += ms;
        utc += ms / 1000;
    }
    void Input() { lastInputMs = nowMs; }

    std::int64_t NowMs() const override { return nowMs; }
    std::int64_t UtcSeconds() const override { return utc; }
    std::int64_t LastInputMs() const override { return lastInputMs; }
    LocalTime ToLocal(std::int64_t utcSeconds) const override {
        using namespace std::chrono;
        const std::int64_t local = utcSeconds + OffsetAt(utcSeconds);
        const std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
        const year_month_day ymd{sys_days{std::chrono::days{days}}};
        const std::int64_t secs = local - days * 86400;
        return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(secs / 3600),
                static_cast<int>(secs / 60 % 60)};
    }
    std::optional<std::int64_t> FromLocal(const LocalTime& t) const override {
        std::optional<std::int64_t> best;
        std::vector<std::int64_t> offsets{offset};
        for (const auto& change : changes) {
            offsets.push_back(change.second);
        }
        for (const std::int64_t o : offsets) {
            const std::int64_t candidate = CivilSeconds(t) - o;
            if (OffsetAt(candidate) == o && (!best || candidate < *best)) {
                best = candidate;
            }
        }
        return best;
    }

    std::int64_t OffsetAt(std::int64_t utcSeconds) const {
        std::int64_t o = offset;
        for (const auto& change : changes) {
            if (utcSeconds >= change.first) {
                o = change.second;
            }
        }
        return o;
    }
};

} // namespace halcyra::test
