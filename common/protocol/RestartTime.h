#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::protocol {

// Agent side: the reply to "GetRestartTime", "%ld\n" minutes after midnight or "None\n" when the daily restart is
// off.
std::string formatRestartTimeReply(bool enabled, long minutes);

struct RestartTimeSetting {
    bool enabled = false;
    long minutes = 0;
};

// Agent side: the line that follows "SetRestartTime". Exactly "None" (letter case included) turns the restart
// off; one to four decimal digits of a minute of the day (0..1439) turn it on at that minute. Anything else is
// no restart time at all.
std::optional<RestartTimeSetting> parseRestartTimeLine(std::string_view line);

} // namespace kv::protocol
