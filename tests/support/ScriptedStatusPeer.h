#pragma once

#include "common/UniqueFd.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kv::test {

// A UDP peer on 127.0.0.1 that stands in for a game server's query port: it records every datagram sent to it and
// answers as its script says, from its own port or, to play a stranger, from another one.
class ScriptedStatusPeer {
public:
    struct Answer {
        std::string bytes;
        bool fromOtherPort = false;
    };
    // Called for each datagram received (numbered from 0); returns what to send back to its sender.
    using Script = std::function<std::vector<Answer>(std::size_t number, std::string_view datagram)>;

    explicit ScriptedStatusPeer(Script script);
    ScriptedStatusPeer(const ScriptedStatusPeer&) = delete;
    ScriptedStatusPeer& operator=(const ScriptedStatusPeer&) = delete;
    ~ScriptedStatusPeer();

    int port() const { return port_; } // 0 when the socket could not be opened
    std::vector<std::string> received() const;

private:
    void serve();

    Script script_;
    UniqueFd socket_;
    UniqueFd other_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

} // namespace kv::test
