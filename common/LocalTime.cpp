#include "common/LocalTime.h"

#include <ctime>

namespace kv {

LocalTime toLocalTime(std::int64_t secondsSince1970) {
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    LocalTime result;
    if (localtime_r(&t, &parts) == nullptr)
        return result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    result.weekday = parts.tm_wday;
    return result;
}

std::int64_t currentSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

} // namespace kv
