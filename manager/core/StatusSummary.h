#pragma once

#include "manager/core/ServerStatus.h"

#include <string>
#include <string_view>

namespace kv::core {

// What a status view shows before the first query, and after a query that got no answer.
inline constexpr std::string_view kStatusNotScannedYet = "Not Scanned Yet";
inline constexpr std::string_view kStatusNotAvailable = "Not Available";

// The summary of a server's figures: seven lines, each ending in CR LF.
std::string statusSummary(const ServerStatus& status);

} // namespace kv::core
