#pragma once

#include "common/Clock.h"

#include <cstdint>
#include <ctime>

namespace kv::test {

// A clock whose time the test sets.
class ManualClock final : public Clock {
public:
    std::int64_t nowSeconds() const override { return seconds; }
    std::int64_t seconds = 0;
};

// Seconds since 1970 of a moment given in the machine's own time zone (as local times are shown).
inline std::int64_t localMoment(int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

} // namespace kv::test
