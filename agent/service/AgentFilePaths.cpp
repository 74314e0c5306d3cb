#include "agent/service/AgentFilePaths.h"

#include "common/Files.h"

namespace kv::agent::service {

std::string AgentFilePaths::setupsFolder() const {
    return joinPath(workDir_, "Server Setups");
}
std::string AgentFilePaths::setupFile(const std::string& name) const {
    return joinPath(setupsFolder(), name + ".ServerConfig");
}
std::string AgentFilePaths::configurationsFolder() const {
    return joinPath(workDir_, "Configurations");
}
std::string AgentFilePaths::configurationIni(const std::string& name) const {
    return joinPath(configurationsFolder(), name + ".ini");
}
std::string AgentFilePaths::controlFile(const std::string& name) const {
    return joinPath(configurationsFolder(), name + ".Control");
}
std::string AgentFilePaths::banList() const {
    return joinPath(gameFolder_, "System/KVSMBanList.txt");
}
std::string AgentFilePaths::antiCheatFolder() const {
    return joinPath(gameFolder_, "System/pb");
}
std::string AgentFilePaths::antiCheatMainConfig() const {
    return joinPath(antiCheatFolder(), "pbsvgame.cfg");
}
std::string AgentFilePaths::optionFile(const std::string& name) const {
    return joinPath(antiCheatFolder(), name + ".cfg");
}
std::string AgentFilePaths::screenshotFolder() const {
    return joinPath(antiCheatFolder(), "svss");
}
std::string AgentFilePaths::antiCheatLogFolder() const {
    return joinPath(antiCheatFolder(), "svlogs");
}

} // namespace kv::agent::service
