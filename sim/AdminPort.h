#pragma once

#include "sim/AdminInput.h"
#include "common/UniqueFd.h"

#include <chrono>
#include <poll.h>
#include <string>
#include <vector>

namespace kv::sim {

// The game's admin interface: a TCP listener whose connections send commands ("SHUTDOWN\r"). It never answers,
// so a peer that closes early cannot hurt us; connections that idle, overflow or exceed the count are dropped.
class AdminPort {
public:
    static constexpr std::size_t kMaxConnections = 32;
    static constexpr std::chrono::seconds kIdleLimit{60};

    struct Event {
        std::string peer;
        std::string command; // empty: a notice in `note`
        std::string note;
    };

    bool open(const std::string& address, int port, std::string& error);
    void close();

    // Appends the descriptors to watch; `process` gets the same entries back after poll().
    void addPollFds(std::vector<pollfd>& fds) const;
    std::vector<Event> process(const pollfd* fds, std::size_t count);

private:
    struct Connection {
        UniqueFd fd;
        std::string peer;
        AdminInput input;
        std::chrono::steady_clock::time_point lastActive;
    };
    void accept(std::vector<Event>& events);

    UniqueFd listener_;
    std::vector<Connection> connections_;
};

} // namespace kv::sim
