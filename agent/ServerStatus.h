#pragma once

namespace kv::agent {

// The game server's state as the agent reports it; the codes are part of the remote status reply.
enum class ServerStatus : int {
    NeverStarted = 0,
    Starting = 1,
    Running = 2,
    Stopped = 4,
    Crashed = 8,
    InvalidConfiguration = 16,
};

// The display word of a status code: "Never Started", ..., "Unknown" for any other code.
const char* statusWord(int code);
inline const char* statusWord(ServerStatus status) { return statusWord(static_cast<int>(status)); }

} // namespace kv::agent
