#pragma once

#include "sim/StatusReply.h"
#include "common/UniqueFd.h"

#include <functional>
#include <poll.h>
#include <string>

namespace kv::sim {

// The status query port (UDP): the exact status request is answered with the reply datagrams; every other datagram
// is dropped unanswered.
class QueryPort {
public:
    bool open(const std::string& address, int port, std::string& error);
    int fd() const { return socket_.get(); }

    // Reads what has arrived. `answering` says whether the game is ready; `snapshot` is called per request.
    // Returns the number of requests answered.
    int process(bool answering, const std::function<ServerStatusSnapshot()>& snapshot);

private:
    UniqueFd socket_;
};

} // namespace kv::sim
