#pragma once

#include "manager/core/ServerStatus.h"
#include "manager/core/StatusSummary.h"

#include <string>

namespace kv::core {

// What a status view shows of one server after a query: the figures of the last answer and the summary text of the
// latest query ("Not Available" when it got no answer).
struct StatusReport {
    bool answered = false; // whether the latest query got an answer
    int playerCount = -1;  // from the last answer; -1 before any
    std::string version;   // from the last answer
    std::string summary{kStatusNotScannedYet};
    ServerStatus status; // the latest answer's figures; empty when it got none
};

} // namespace kv::core
