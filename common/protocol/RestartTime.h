#pragma once

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
// off; anything else turns it on at the line's number of minutes (decimal-number rule).
RestartTimeSetting parseRestartTimeLine(std::string_view line);

} // namespace kv::protocol
