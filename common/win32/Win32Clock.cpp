#include "common/win32/Win32Clock.h"

#include <windows.h>

namespace halcyra::win32 {

namespace {

constexpr std::int64_t kEpochTicks = 116444736000000000LL; // 1601 to 1970 in 100 ns
constexpr std::int64_t kTicksPerSecond = 10000000LL;

SYSTEMTIME ToSystemTime(std::int64_t utcSeconds) {
    const auto ticks = static_cast<std::uint64_t>(utcSeconds * kTicksPerSecond + kEpochTicks);
    FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME st{};
    ::FileTimeToSystemTime(&ft, &st);
    return st;
}

std::int64_t ToSeconds(const SYSTEMTIME& st) {
    FILETIME ft{};
    ::SystemTimeToFileTime(&st, &ft);
    const std::uint64_t ticks = (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    return (static_cast<std::int64_t>(ticks) - kEpochTicks) / kTicksPerSecond;
}

LocalTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute};
}

} // namespace

std::int64_t Win32Clock::NowMs() const {
    // Counts through sleep and never moves when the clock is set.
    return static_cast<std::int64_t>(::GetTickCount64());
}

std::int64_t Win32Clock::UtcSeconds() const {
    FILETIME ft{};
    ::GetSystemTimeAsFileTime(&ft);
    const std::uint64_t ticks = (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    return (static_cast<std::int64_t>(ticks) - kEpochTicks) / kTicksPerSecond;
}

LocalTime Win32Clock::ToLocal(std::int64_t utcSeconds) const {
    const SYSTEMTIME utc = ToSystemTime(utcSeconds);
    SYSTEMTIME local{};
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        local = utc;
    }
    return FromSystemTime(local);
}

std::optional<std::int64_t> Win32Clock::FromLocal(const LocalTime& t) const {
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(t.year);
    local.wMonth = static_cast<WORD>(t.month);
    local.wDay = static_cast<WORD>(t.day);
    local.wHour = static_cast<WORD>(t.hour);
    local.wMinute = static_cast<WORD>(t.minute);
    SYSTEMTIME utc{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) {
        return std::nullopt;
    }
    const std::int64_t seconds = ToSeconds(utc);
    // A minute that a daylight-saving change skips converts, but not back to itself.
    if (!(ToLocal(seconds) == t)) {
        return std::nullopt;
    }
    // Shown twice: the earlier one.
    if (ToLocal(seconds - 3600) == t) {
        return seconds - 3600;
    }
    return seconds;
}

std::int64_t Win32Clock::LastInputMs() const {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    const std::int64_t now = NowMs();
    if (!::GetLastInputInfo(&info)) {
        return now; // unknown: never idle
    }
    // dwTime is the 32-bit tick count, which wraps every 49.7 days.
    const DWORD since = ::GetTickCount() - info.dwTime;
    return now - static_cast<std::int64_t>(since);
}

} // namespace halcyra::win32
