#pragma once

#include "manager/core/ServerStatus.h"
#include "manager/core/StatusReply.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace kv::core {

class StopSignal;

// How long a query listens: `polls` looks at the socket, at most `pollInterval` apart while nothing arrives.
struct StatusQueryTiming {
    int polls = 40;
    std::chrono::milliseconds pollInterval{250};
};

struct StatusQueryResult {
    bool answered = false; // a reply came (perhaps cut short) and `status` holds what it said
    bool stopped = false;  // the stop signal ended the query
    std::string error;     // why there is no answer
    std::size_t datagrams = 0;
    ServerStatus status;
};

// One status query of one game server over UDP: a new socket each time, connected to the server so that only its
// datagrams are read. The request is sent again when the second look finds nothing yet; collecting ends at the
// "final" key, at an empty datagram, at a socket error, after the last poll, or at kStatusReplyLimit bytes. Host
// names are resolved here, so call it on a worker thread.
class StatusQuery {
public:
    explicit StatusQuery(StatusQueryTiming timing = {}) : timing_(timing) {}

    // Blocks for at most about polls * pollInterval (plus name resolution); `stop`, when given, ends it at once.
    StatusQueryResult run(const std::string& host, int port, const StopSignal* stop = nullptr) const;

private:
    StatusQueryTiming timing_;
};

} // namespace kv::core
