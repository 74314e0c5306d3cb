#pragma once

#include <string>

namespace kv::agent::service {

// Where the agent keeps what the remote requests read and write: setups and configurations in its working
// folder, the ban list and the anti-cheat files in the game folder.
class AgentFilePaths {
public:
    AgentFilePaths(std::string workDir, std::string gameFolder)
        : workDir_(std::move(workDir)), gameFolder_(std::move(gameFolder)) {}

    std::string setupsFolder() const;
    std::string setupFile(const std::string& name) const; // Server Setups/<name>.ServerConfig
    std::string configurationsFolder() const;
    std::string configurationIni(const std::string& name) const; // Configurations/<name>.ini
    std::string controlFile(const std::string& name) const;      // Configurations/<name>.Control
    std::string banList() const;                                 // <game>/System/KVSMBanList.txt
    std::string antiCheatFolder() const;                         // <game>/System/pb
    std::string antiCheatMainConfig() const;                     // <game>/System/pb/pbsvgame.cfg
    std::string optionFile(const std::string& name) const;       // <game>/System/pb/<name>.cfg
    std::string screenshotFolder() const;                        // <game>/System/pb/svss
    std::string antiCheatLogFolder() const;                      // <game>/System/pb/svlogs

private:
    std::string workDir_;
    std::string gameFolder_;
};

} // namespace kv::agent::service
