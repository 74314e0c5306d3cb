#include "agent/SettingsFile.h"

#include "common/AtomicFile.h"
#include "common/DecimalNumber.h"
#include "common/Format.h"
#include "common/LineReader.h"
#include "common/Md5.h"
#include "common/Text.h"

namespace kv::agent::settings_file {

namespace {

constexpr std::size_t kMaxLine = 511;

void applyLine(std::string_view line, AgentSettings& s) {
    auto value = [&](std::string_view key) { return std::string(line.substr(key.size())); };
    auto number = [&](std::string_view key) { return parseDecimalInt(line.substr(key.size())); };
    auto match = [&](std::string_view key) { return startsWithNoCase(line, key); };

    if (match("AdminName="))
        s.adminName = value("AdminName=");
    else if (match("MD5Password="))
        s.md5Password = value("MD5Password=");
    else if (match("Password="))
        s.md5Password = md5Hex(line.substr(9));
    else if (match("GameServerPath="))
        s.gameServerPath = value("GameServerPath=");
    else if (match("RemoteControlServerPort="))
        s.remoteControlServerPort = number("RemoteControlServerPort=");
    else if (match("ServerIP="))
        s.serverIp = value("ServerIP=");
    else if (match("HonorServerIP="))
        s.honorServerIp = value("HonorServerIP=");
    else if (match("HonorServerUserName="))
        s.honorServerUserName = value("HonorServerUserName=");
    else if (match("HonorServerPassword="))
        s.honorServerPassword = value("HonorServerPassword=");
    else if (match("ActiveControlFile="))
        s.activeControlFile = value("ActiveControlFile=");
    else if (match("CreateRunningLog="))
        s.createRunningLog = number("CreateRunningLog=") != 0;
    else if (match("MaxConsoleLoggingRAMInK="))
        s.maxConsoleLoggingRamInK = number("MaxConsoleLoggingRAMInK=");
    else if (match("ShowMemoryUsage="))
        s.showMemoryUsage = number("ShowMemoryUsage=") != 0;
    else if (match("CreateCSVMemoryLog="))
        s.createCsvMemoryLog = number("CreateCSVMemoryLog=") != 0;
    else if (match("TimedAutoRestartServer="))
        s.timedAutoRestartServer = number("TimedAutoRestartServer=") != 0;
    else if (match("TimeOfDayInMinutesToRestartServer="))
        s.timeOfDayInMinutesToRestartServer = number("TimeOfDayInMinutesToRestartServer=");
}

void parseFrom(LineReader& reader, AgentSettings& settings) {
    std::string line;
    while (reader.next(line, kMaxLine, LineReader::Break::CrLf))
        applyLine(line, settings);
}

} // namespace

void parse(std::string_view text, AgentSettings& settings) {
    LineReader reader(text);
    parseFrom(reader, settings);
}

std::string render(const AgentSettings& s) {
    const std::string host = kHonorSiteHost;
    std::string out;
    auto line = [&](std::string_view text) {
        out.append(text);
        out.push_back('\n');
    };
    auto key = [&](std::string_view name, std::string_view value) {
        out.append(name);
        out.push_back('=');
        out.append(value);
        out.push_back('\n');
    };
    auto num = [&](std::string_view name, long long value) { key(name, std::to_string(value)); };

    line("REM This option specifies which IP address to listen on for remote requests.");
    line("REM This is also used for multi-home setups to specify the IP address the game server should listen to.");
    key("ServerIP", s.serverIp);
    line("");
    line("REM This option specifies which port to use for the Remote Control server.");
    num("RemoteControlServerPort", s.remoteControlServerPort);
    line("");
    line("REM To override the current field replace MD5Password= with Password=<YourNewPassword>");
    key("MD5Password", s.md5Password);
    line("");
    line("REM This field specifies the administrator's name used to log in to the remote control.");
    key("AdminName", s.adminName);
    line("");
    line("REM If you have not registered your server at " + host +
         " please leave the \"HonorServerXXX\" fields blank.");
    line("REM This field specifies the honor server user name you have registered at " + host + ".");
    key("HonorServerUserName", s.honorServerUserName);
    line("");
    line("REM This field specifies the honor server password you have registered at " + host + ".");
    key("HonorServerPassword", s.honorServerPassword);
    line("");
    line("REM This field specifies the honor server IP address you have registered at " + host + ".");
    key("HonorServerIP", s.honorServerIp);
    line("");
    line("REM This field sets the active server setup configuration file to use on startup.");
    key("ActiveControlFile", s.activeControlFile);
    line("");
    line("REM The following option lets you specify the complete path to the game server's installation directory "
         "(typically \"C:\\Korvane\").");
    key("GameServerPath", s.gameServerPath);
    line("");
    line("REM This field specifies the maximum number of K that the log window will use to hold log information.");
    num("MaxConsoleLoggingRAMInK", s.maxConsoleLoggingRamInK);
    line("");
    line("REM This option enables creating a running log file of all server output.");
    num("CreateRunningLog", s.createRunningLog ? 1 : 0);
    line("");
    line("REM If you would like to display server memory usage set the following to 1");
    num("ShowMemoryUsage", s.showMemoryUsage ? 1 : 0);
    line("");
    line("REM Next field logs memory usage to a log file if set to 1");
    num("CreateCSVMemoryLog", s.createCsvMemoryLog ? 1 : 0);
    line("");
    line("REM This enables whether to automatically stop and restart the server each day at a specified time");
    num("TimedAutoRestartServer", s.timedAutoRestartServer ? 1 : 0);
    line("");
    line("REM Next field specifies when the server will be automatically restarted (time is in minutes");
    line("");
    line("REM so 2 AM would be 120 minutes from midnight, 3 AM 180 minutes from midnight, and so forth)");
    num("TimeOfDayInMinutesToRestartServer", s.timeOfDayInMinutesToRestartServer);
    return out;
}

LoadResult load(const std::string& path, AgentSettings& settings) {
    settings.md5Password = md5Hex(kDefaultPassword);
    LineReader reader = LineReader::openFile(path);
    if (!reader.ok())
        return LoadResult::Missing;
    parseFrom(reader, settings);
    return LoadResult::Loaded;
}

namespace {

// Every value must read back as itself: a line break or a line longer than the reader's would make the rest of it
// a line of its own, such as "Password=...".
bool readsBack(const AgentSettings& s) {
    const std::pair<std::string_view, const std::string*> values[] = {
        {"ServerIP=", &s.serverIp},
        {"MD5Password=", &s.md5Password},
        {"AdminName=", &s.adminName},
        {"HonorServerUserName=", &s.honorServerUserName},
        {"HonorServerPassword=", &s.honorServerPassword},
        {"HonorServerIP=", &s.honorServerIp},
        {"ActiveControlFile=", &s.activeControlFile},
        {"GameServerPath=", &s.gameServerPath},
    };
    for (const auto& [key, value] : values) {
        if (key.size() + value->size() > kMaxLine)
            return false;
        if (value->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return false;
    }
    return true;
}

} // namespace

bool save(const std::string& path, const AgentSettings& settings, std::string* error) {
    if (!readsBack(settings)) {
        if (error)
            *error = "a setting holds a line break or is longer than its line may be";
        return false;
    }
    // It holds the password's digest and the ranking service's password.
    return writeFileAtomically(path, render(settings), error, FlushToDisk::Yes, FileAccess::OwnerOnly);
}

} // namespace kv::agent::settings_file
