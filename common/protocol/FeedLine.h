#pragma once

#include "common/LocalTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv::protocol {

// Agent side: one output line as the monitor feed sends it, "month/day/year-hour:mm:ss[ (nK)] - text\n". The
// memory figure is given when the agent shows memory.
std::string formatFeedLine(const LocalTime& time, std::optional<long> memoryKiB, std::string_view text);

// Client side: the closing lines that the monitor thread appends, "month/day/year hour:mm:ss - text".
std::string formatFeedNotice(const LocalTime& time, std::string_view text);

constexpr const char* kFeedBroken = "Connection to server broken";
constexpr const char* kFeedEnding = "Ending monitoring thread";
constexpr const char* kFeedConnectFailure = "Failure connecting to server";

} // namespace kv::protocol
