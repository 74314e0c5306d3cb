#pragma once

#include "agent/AgentEnvironment.h"
#include "agent/AgentSettings.h"
#include "agent/ControlFile.h"

#include "common/ChildProcess.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kv::agent {

class AccessLog;
class AgentLog;
class SupervisionState;

// The outcome of one start attempt.
struct LaunchResult {
    enum class Outcome { Started, ControlFileUnreadable, MapMissing, ProcessFailed };
    Outcome outcome = Outcome::ControlFileUnreadable;
    std::string commandLine;     // set once it was built
    std::int64_t launchTime = 0;
    std::unique_ptr<ChildProcess> process; // Started only
    std::string error;           // ProcessFailed: why
};

// Starts the game server from the active control file: ban list copy, control file reading, map check, the
// command line, DEBUG.txt and the process itself. Failures leave their texts in the agent log and the access log
// and set the status, as the table of launch failures says.
class ServerLauncher {
public:
    ServerLauncher(const AgentEnvironment& env, AgentLog& log, AccessLog& access, SupervisionState& state);

    // `config` is the active configuration; the control file's keys overwrite it.
    LaunchResult launch(const AgentSettings& settings, ActiveConfiguration& config);

    // The game folder a start uses: GameServerPath, or the installed folder when empty; one trailing '/' removed.
    std::string gameFolder(const AgentSettings& settings) const;
    // Copies System/KVSMBanList.txt over System/BanList.txt in `gameServerPath`; false when it did not happen.
    static bool mergeBanList(const std::string& gameServerPath);

private:
    const AgentEnvironment& env_;
    AgentLog& log_;
    AccessLog& access_;
    SupervisionState& state_;
};

} // namespace kv::agent
