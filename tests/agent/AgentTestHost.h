#pragma once

#include "agent/AgentSettings.h"

#include "tests/support/SimGame.h"
#include "tests/support/TempDir.h"

#include <string>
#include <utility>
#include <vector>

namespace kv::test {

// A game-server host for agent tests: a game folder whose server is the simulator, a working folder with a control
// file "Duel" on map Harbor.kvo, and free admin and query ports for the simulator.
class AgentTestHost {
public:
    AgentTestHost();

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

    std::string gameFolder() const { return game_.folder(); }
    std::string workFolder() const;
    int adminPort() const { return adminPort_; }
    int queryPort() const { return queryPort_; } // the simulator's status query port (UDP)

    // Simulator knobs in kvsim.conf (ports and a short start delay are always set).
    bool simulator(std::vector<std::pair<std::string, std::string>> knobs = {}) const;
    // Writes Configurations/<name>.Control and <name>.ini.
    void controlFile(const std::string& name, const std::string& map, const std::string& extraLines = {}) const;
    // Settings that point at the game folder with "Duel.Control" active.
    kv::agent::AgentSettings settings() const;
    // Writes KVSMRC.ini from `settings`.
    bool writeSettings(const kv::agent::AgentSettings& settings) const;

    std::string readWork(const std::string& relative) const;
    // The only file in ServerLogs whose name contains `part`, or "".
    std::string serverLog(const std::string& part) const;
    std::string agentLogText() const;

private:
    TempDir dir_;
    SimGame game_;
    int adminPort_ = 0;
    int queryPort_ = 0;
    bool ok_ = false;
    std::string error_;
};

} // namespace kv::test
