#include "common/protocol/RestartTime.h"

#include "common/Format.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

std::string formatRestartTimeReply(bool enabled, long minutes) {
    return enabled ? format("%ld\n", minutes) : std::string(kRestartNone) + "\n";
}

std::optional<RestartTimeSetting> parseRestartTimeLine(std::string_view line) {
    if (line == kRestartNone)
        return RestartTimeSetting{};
    if (line.empty() || line.size() > 4 || line.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long minutes = 0;
    for (char c : line)
        minutes = minutes * 10 + (c - '0');
    if (minutes >= 24 * 60)
        return std::nullopt;
    return RestartTimeSetting{true, minutes};
}

} // namespace kv::protocol
