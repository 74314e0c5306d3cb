#include "sim/SimCommandLine.h"

#include "common/Text.h"

namespace kv::sim {

namespace {

bool takeValue(const std::string& argument, std::string_view key, std::string& value) {
    if (!startsWithNoCase(argument, key))
        return false;
    value = argument.substr(key.size());
    return true;
}

} // namespace

SimCommandLine parseSimCommandLine(const std::vector<std::string>& arguments) {
    SimCommandLine result;
    int positional = 0;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-help") {
            result.help = true;
            continue;
        }
        if (takeValue(argument, "log=", result.log) || takeValue(argument, "ini=", result.ini) ||
            takeValue(argument, "MULTIHOME=", result.multiHome) ||
            takeValue(argument, "ServerAuthUsername=", result.authUserName) ||
            takeValue(argument, "ServerAuthPassword=", result.authPassword) ||
            takeValue(argument, "ServerAuthIP=", result.authAddress))
            continue;
        if (argument.find('=') != std::string::npos) {
            result.warnings.push_back("unknown command line option \"" + argument + "\" ignored");
            continue;
        }
        if (positional == 0) {
            bool known = false;
            for (const char* word : {"GLOBAL", "LAN", "TOURNAMENT", "LANTOURNAMENT"}) {
                if (equalsNoCase(argument, word)) {
                    result.runMode = word;
                    known = true;
                }
            }
            if (!known)
                result.warnings.push_back("unknown run mode \"" + argument + "\", running as GLOBAL");
        } else if (positional == 1) {
            result.map = argument;
        } else {
            result.warnings.push_back("unexpected command line argument \"" + argument + "\" ignored");
        }
        ++positional;
    }
    if (result.map.empty() && !result.help)
        result.error = "no map given on the command line";
    return result;
}

} // namespace kv::sim
