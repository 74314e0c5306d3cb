#include "tests/agent/AgentTestHost.h"

#include "agent/AgentLog.h"
#include "agent/SettingsFile.h"

#include "common/Files.h"
#include "common/LocalTime.h"

#include "tests/support/FreePort.h"

namespace kv::test {

AgentTestHost::AgentTestHost() : game_(dir_.file("game"), std::string(KV_BIN_DIR) + "/kvsim") {
    adminPort_ = freeTcpPort();
    queryPort_ = freeUdpPort();
    ok_ = !dir_.path().empty() && adminPort_ > 0 && queryPort_ > 0 && game_.create(&error_) &&
          makeDirectories(joinPath(workFolder(), "Configurations")) && simulator();
    if (ok_)
        controlFile("Duel", "Harbor.kvo");
}

std::string AgentTestHost::workFolder() const { return dir_.file("work"); }

bool AgentTestHost::simulator(std::vector<std::pair<std::string, std::string>> knobs) const {
    knobs.insert(knobs.begin(), {{"KVSIM_ADMIN_PORT", std::to_string(adminPort_)},
                                 {"KVSIM_QUERY_PORT", std::to_string(queryPort_)},
                                 {"KVSIM_START_DELAY_MS", "100"},
                                 {"KVSIM_SHUTDOWN_DELAY_MS", "50"}});
    return game_.writeSettings(knobs);
}

void AgentTestHost::controlFile(const std::string& name, const std::string& map, const std::string& extra) const {
    dir_.write("work/Configurations/" + name + ".Control",
               "Name=" + name + "\nRunMode=GLOBAL\nMap=" + map + "\nIni=" + name +
                   ".ini\nGamePlayerPassword=\nGameAdminPassword=\nDescription=Test0xA\n" + extra);
    SimGame::writeIni(joinPath(workFolder(), "Configurations/" + name + ".ini"), name);
}

kv::agent::AgentSettings AgentTestHost::settings() const {
    auto s = kv::agent::AgentSettings::defaults();
    s.gameServerPath = gameFolder();
    s.activeControlFile = "Duel.Control";
    return s;
}

bool AgentTestHost::writeSettings(const kv::agent::AgentSettings& settings) const {
    return kv::agent::settings_file::save(joinPath(workFolder(), kv::agent::settings_file::kFileName), settings);
}

std::string AgentTestHost::readWork(const std::string& relative) const {
    return readFile(joinPath(workFolder(), relative)).value_or("");
}

std::string AgentTestHost::serverLog(const std::string& part) const {
    std::string found;
    for (const auto& name : listDirectory(joinPath(workFolder(), "ServerLogs")))
        if (name.find(part) != std::string::npos)
            found = found.empty() ? name : "(several)";
    return found == "(several)" ? std::string() : found;
}

std::string AgentTestHost::agentLogText() const {
    std::string all;
    for (const auto& name : listDirectory(joinPath(workFolder(), "Logs")))
        all += readFile(joinPath(joinPath(workFolder(), "Logs"), name)).value_or("");
    return all;
}

} // namespace kv::test
