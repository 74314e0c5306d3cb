#pragma once

#include <string>

namespace kv::agent {

// Shown in the window title, the About box and `kvagent --version`.
inline constexpr const char* kVersionText = "1.8 (049-10232007-1039)";
inline constexpr const char* kDefaultPassword = "Gatepost";
inline constexpr const char* kDefaultAdminName = "Admin";
inline constexpr int kDefaultRemoteControlPort = 49310;
// The game server's admin interface; the agent sends "SHUTDOWN\r" there to stop it.
inline constexpr int kDefaultAdminPort = 49600;

// The agent's settings, in the order KVSMRC.ini stores them.
struct AgentSettings {
    std::string serverIp;
    int remoteControlServerPort = kDefaultRemoteControlPort;
    std::string md5Password; // 32 lower-case hex digits; the constructor of defaults() sets the default digest
    std::string adminName = kDefaultAdminName;
    std::string honorServerUserName;
    std::string honorServerPassword;
    std::string honorServerIp;
    std::string activeControlFile;
    std::string gameServerPath;
    int maxConsoleLoggingRamInK = 2000;
    bool createRunningLog = true;
    bool showMemoryUsage = false;
    bool createCsvMemoryLog = false;
    bool timedAutoRestartServer = false;
    int timeOfDayInMinutesToRestartServer = 180;

    // All defaults, with the digest of the default password.
    static AgentSettings defaults();

    bool operator==(const AgentSettings&) const = default;
};

} // namespace kv::agent
