#pragma once

#include <cstdint>

namespace kv {

// A moment broken down in the machine's local time zone: what every shown time and log line uses.
struct LocalTime {
    int year = 1970;  // four digits
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;     // 0..23
    int minute = 0;   // 0..59
    int second = 0;   // 0..60
    int weekday = 4;  // 0 = Sunday
};

LocalTime toLocalTime(std::int64_t secondsSince1970);

// Seconds since 1 January 1970 UTC, now.
std::int64_t currentSeconds();

} // namespace kv
