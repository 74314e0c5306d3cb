#include "agent/ui/ConfigureValues.h"

#include "common/Files.h"
#include "common/Md5.h"
#include "common/Text.h"

#include <algorithm>

namespace kv::agent::ui {

ConfigureValues ConfigureValues::fromSettings(const AgentSettings& s, const std::string& foundGameFolder) {
    ConfigureValues v;
    v.serverIp = s.serverIp;
    v.adminName = s.adminName;
    v.honorServerUserName = s.honorServerUserName;
    v.honorServerPassword = s.honorServerPassword;
    v.honorServerIp = s.honorServerIp;
    v.gameFolder = s.gameServerPath.empty() ? foundGameFolder : s.gameServerPath;
    v.controlFile = s.activeControlFile;
    v.autoRestart = s.timedAutoRestartServer;
    v.restartHour = configure_values::restartHourFor(s.timeOfDayInMinutesToRestartServer);
    v.showMemoryUsage = s.showMemoryUsage;
    v.createCsvMemoryLog = s.createCsvMemoryLog;
    return v;
}

ConfigureValues ConfigureValues::forFirstRun(const AgentSettings& s, const std::string& foundGameFolder) {
    ConfigureValues v = fromSettings(s, foundGameFolder);
    v.adminName = kDefaultAdminName;
    v.password = kDefaultPassword;
    return v;
}

namespace configure_values {

std::size_t maxValueLength(std::string_view key) {
    return kMaxKeyLine - key.size() - 1;
}

std::string cleanValue(std::string_view key, std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value)
        if (c != '\n' && c != '\r' && c != '\0')
            out.push_back(c);
    std::size_t max = maxValueLength(key);
    if (out.size() > max) {
        while (max > 0 && (static_cast<unsigned char>(out[max]) & 0xC0) == 0x80)
            --max;
        out.resize(max);
    }
    return out;
}

std::string withoutTrailingSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool gameFolderLooksRight(const std::string& folder) {
    const std::string f = withoutTrailingSlash(folder);
    return f.empty() || fileExists(joinPath(joinPath(f, "System"), "server.bin"));
}

int restartHourFor(int minutes) {
    return std::clamp(minutes / 60, 0, 23);
}

bool applyBeforeRestart(const ConfigureValues& v, AgentSettings& s) {
    if (!v.password.empty())
        s.md5Password = md5Hex(v.password);
    s.adminName = cleanValue("AdminName", v.adminName);
    s.serverIp = cleanValue("ServerIP", v.serverIp);
    s.gameServerPath = cleanValue("GameServerPath", withoutTrailingSlash(v.gameFolder));
    s.timeOfDayInMinutesToRestartServer = std::clamp(v.restartHour, 0, 23) * 60;
    s.timedAutoRestartServer = v.autoRestart;
    s.honorServerUserName = cleanValue("HonorServerUserName", v.honorServerUserName);
    s.honorServerPassword = cleanValue("HonorServerPassword", v.honorServerPassword);
    s.honorServerIp = cleanValue("HonorServerIP", v.honorServerIp);
    const std::string control = cleanValue("ActiveControlFile", v.controlFile);
    if (equalsNoCase(control, s.activeControlFile))
        return false;
    s.activeControlFile = control;
    return true;
}

void applyAfterRestart(const ConfigureValues& v, AgentSettings& s) {
    s.showMemoryUsage = v.showMemoryUsage;
    s.createCsvMemoryLog = v.createCsvMemoryLog;
}

void applyFirstRun(const ConfigureValues& v, const ConfigureValues& initial, AgentSettings& s) {
    if (!v.password.empty())
        s.md5Password = md5Hex(v.password);
    s.adminName = cleanValue("AdminName", v.adminName);
    s.serverIp = cleanValue("ServerIP", v.serverIp);
    s.timedAutoRestartServer = v.autoRestart;
    s.timeOfDayInMinutesToRestartServer = std::clamp(v.restartHour, 0, 23) * 60;
    const std::string folder = withoutTrailingSlash(v.gameFolder);
    if (folder != withoutTrailingSlash(initial.gameFolder))
        s.gameServerPath = cleanValue("GameServerPath", folder);
}

} // namespace configure_values
} // namespace kv::agent::ui
