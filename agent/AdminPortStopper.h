#pragma once

#include <chrono>
#include <string>

namespace kv::agent {

class AgentLog;

// Asks the game server to shut down through its admin interface: a TCP connection that receives the 9 bytes
// "SHUTDOWN\r". Each step leaves its line in the agent log.
class AdminPortStopper {
public:
    enum class Result { Sent, ConnectFailed, SocketFailed };

    // `address` empty means the local host. The connection attempt is bounded by `connectTimeout`.
    AdminPortStopper(AgentLog& log, std::string address, int port,
                     std::chrono::milliseconds connectTimeout = std::chrono::milliseconds(3000));

    // Blocks for the connection and, after a successful send, 250 ms more so that the server can read it.
    Result sendShutdown();

private:
    AgentLog& log_;
    std::string address_;
    int port_;
    std::chrono::milliseconds connectTimeout_;
};

} // namespace kv::agent
