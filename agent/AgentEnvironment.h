#pragma once

#include "agent/AgentSettings.h"
#include "common/Clock.h"
#include "common/channel/AgentIdentity.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kv::agent {

// What the agent takes from its surroundings; tests give each agent its own folder, clock, ports and delays.
struct AgentEnvironment {
    std::string workDir;               // all relative agent paths start here
    const Clock* clock = nullptr;      // never null once the agent is built
    int adminPort = kDefaultAdminPort; // the game server's admin interface
    bool showFailures = false;
    // The agent's TLS identity, as kvagent loaded it at start; empty: the remote service loads (or makes) the one
    // in the working folder itself. identityProblem says why kvagent could not load it.
    std::optional<AgentIdentity> identity;
    std::string identityProblem;

    std::chrono::milliseconds tickInterval{1000};    // supervision tick
    std::chrono::milliseconds exitWatchInterval{500};
    std::chrono::milliseconds memoryInterval{1000};
    std::chrono::milliseconds crashSettle{2500};     // after a crash, before the stop sequence
    std::chrono::milliseconds cleanupAfterSend{11000};  // SHUTDOWN sent: clean-up after this
    std::chrono::milliseconds cleanupAfterFailure{500}; // admin interface unreachable
    std::chrono::milliseconds stopGrace{1000};       // SIGTERM, then SIGKILL after this
    std::chrono::milliseconds adminConnectTimeout{3000};
    // A running log stops growing here, with one line that says so.
    std::uint64_t runningLogLimit = 64ull * 1024 * 1024;

    std::string procDir = "/proc";
    // Game installation settings files searched for InstallDir, system scope first; empty: the usual places.
    std::string systemGameSettings;
    std::string userGameSettings;
};

} // namespace kv::agent
