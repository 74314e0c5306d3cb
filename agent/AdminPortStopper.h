#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::agent {

class QueuedReceiver;

// Asks the game server to shut down through its admin interface: a TCP connection that receives the 9 bytes
// "SHUTDOWN\r". Each step leaves a line for the agent log, which the caller writes.
class AdminPortStopper {
public:
    enum class Result { Sent, ConnectFailed, SocketFailed };
    struct Outcome {
        Result result = Result::SocketFailed;
        std::vector<std::string> logLines;
    };

    // `address` empty means the local host. The connection attempt is bounded by `connectTimeout`.
    AdminPortStopper(std::string address, int port,
                     std::chrono::milliseconds connectTimeout = std::chrono::milliseconds(3000));

    // Blocks for the connection and, after a successful send, 250 ms more so that the server can read it: worker
    // threads only.
    Outcome sendShutdown() const;
    // sendShutdown() on a pool thread; `done` runs on the receiver's thread unless it has let go by then. The worker
    // ends within the connect time-out plus 250 ms, so the pool's wait at exit stays bounded.
    void sendShutdownLater(std::shared_ptr<QueuedReceiver> receiver, std::function<void(Outcome)> done) const;

private:
    std::string address_;
    int port_;
    std::chrono::milliseconds connectTimeout_;
};

} // namespace kv::agent
