#include "agent/LaunchCommand.h"

#include "common/CommandLine.h"
#include "common/Format.h"
#include "common/Text.h"

namespace kv::agent {

namespace {

// A quote would end a quoted argument early and let the rest become arguments of its own; control characters
// have no place on a command line.
bool fitsCommandLine(std::string_view value) {
    return value.find('"') == std::string_view::npos && !hasControlCharacter(value);
}

} // namespace

std::optional<std::string> buildCommandLine(const LaunchInputs& in) {
    for (const std::string* value : {&in.programPath, &in.runMode, &in.map, &in.setupName, &in.iniPath,
                                     &in.serverIp, &in.honorUserName, &in.honorPassword, &in.honorIp})
        if (!fitsCommandLine(*value))
            return std::nullopt;
    // A backslash before the closing quote of ini="..." would escape it.
    if (!in.iniPath.empty() && in.iniPath.back() == '\\')
        return std::nullopt;
    const char* multiHome = in.serverIp.size() >= 7 ? "MULTIHOME=" : "";
    const char* authUser = in.honorUserName.empty() ? "" : "ServerAuthUsername=";
    const char* authPassword = in.honorPassword.empty() ? "" : "ServerAuthPassword=";
    const char* authIp = in.honorIp.empty() ? "" : "ServerAuthIP=";
    std::string program = in.programPath.find_first_of(" \t\"") == std::string::npos ? in.programPath
                                                                                     : quoteArgument(in.programPath);
    const LocalTime& t = in.launchTime;
    return format("%s %s %s log=\"%s %d-%d-%d at %d-%2.2d-%2.2d.log\" ini=\"%s\" %s%s %s%s %s%s %s%s",
                  program.c_str(), in.runMode.c_str(), in.map.c_str(), in.setupName.c_str(), t.month, t.day, t.year,
                  t.hour, t.minute, t.second, in.iniPath.c_str(), multiHome, in.serverIp.c_str(), authUser,
                  in.honorUserName.c_str(), authPassword, in.honorPassword.c_str(), authIp, in.honorIp.c_str());
}

std::vector<std::string> commandLineArguments(const std::string& commandLine) {
    return splitCommandLine(commandLine);
}

} // namespace kv::agent
