#pragma once

#include <cstdint>
#include <string>

namespace kv::manager::ui {

// What GetServerStatus fills in. Each value keeps its previous content when the agent's reply lacks it.
struct RemoteServerStatus {
    std::string currentSetup;
    std::string status;
    std::string startingMap;
    std::string description;
    std::string gameAdminPassword;
    std::string gamePlayerPassword;
    std::uint32_t totalUpTime = 0;
    int crashes = -1;
    std::int32_t currentRamK = 0;
    std::int32_t peakRamK = 0;
};

// One status refresh of the remote control window, made on a worker and shown on the GUI thread.
struct RemoteRefresh {
    bool statusOk = false;
    RemoteServerStatus status;
    bool restartOk = false;
    std::string restartTime; // "None" or minutes after midnight, as the agent keeps it
    // How the contact went when the status failed (KVSM_AGENT_*), with the fingerprints presented and recorded.
    int trust = 0;
    std::string presentedFingerprint;
    std::string recordedFingerprint;
};

} // namespace kv::manager::ui
