#include "common/protocol/RestartTime.h"

#include "common/DecimalNumber.h"
#include "common/Format.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

std::string formatRestartTimeReply(bool enabled, long minutes) {
    return enabled ? format("%ld\n", minutes) : std::string(kRestartNone) + "\n";
}

RestartTimeSetting parseRestartTimeLine(std::string_view line) {
    if (line == kRestartNone)
        return {};
    return RestartTimeSetting{true, static_cast<long>(parseDecimalLong(line))};
}

} // namespace kv::protocol
