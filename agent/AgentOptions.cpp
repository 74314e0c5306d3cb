#include "agent/AgentOptions.h"

#include "common/Files.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace kv::agent {

namespace {

bool parseCount(std::string_view text, int& out) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return false;
    out = value;
    return true;
}

} // namespace

AgentOptions parseAgentOptions(const std::vector<std::string>& arguments) {
    AgentOptions o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view arg = arguments[i];
        auto takeValue = [&](std::string_view name) -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                o.error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        auto takeCount = [&](std::string_view name, int& out) {
            if (auto v = takeValue(name); v && !parseCount(*v, out))
                o.error = std::string(name) + " needs a number, not \"" + *v + "\"";
        };
        if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--set-password") {
            o.setPassword = true;
        } else if (arg == "--fingerprint") {
            o.fingerprint = true;
        } else if (arg == "--new-identity") {
            o.newIdentity = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--user-workdir") {
            o.userWorkDir = true;
        } else if (arg == "--workdir") {
            if (auto v = takeValue(arg))
                o.workDir = *v;
        } else if (arg == "--admin-port") {
            takeCount(arg, o.adminPort);
            if (o.error.empty() && (o.adminPort < 1 || o.adminPort > 65535))
                o.error = "--admin-port needs a port between 1 and 65535";
        } else if (arg == "--cleanup-ms") {
            takeCount(arg, o.cleanupDelayMs);
        } else if (arg == "--stop-grace-ms") {
            takeCount(arg, o.stopGraceMs);
        } else {
            // The designed switches; the framework stripped one leading "/" or "-", and anything else is ignored.
            if (!arg.empty() && (arg.front() == '/' || arg.front() == '-'))
                arg.remove_prefix(1);
            if (arg == "ShowFailures")
                o.showFailures = true;
            else if (arg.starts_with("ServerIP="))
                o.serverIp = std::string(arg.substr(9));
            else if (arg.starts_with("ControlFileName="))
                o.controlFileName = std::string(arg.substr(16));
        }
        if (!o.error.empty())
            break;
    }
    if (o.error.empty() && o.userWorkDir && !o.workDir.empty())
        o.error = "--workdir and --user-workdir exclude each other";
    return o;
}

std::string userWorkFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return joinPath(data, "KV Server Remote Control");
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return joinPath(joinPath(home, ".local/share"), "KV Server Remote Control");
    return {};
}

const char* agentUsage() {
    return "Usage: kvagent [--headless] [--workdir DIR | --user-workdir] [/ShowFailures] [/ServerIP=ADDRESS]\n"
           "               [/ControlFileName=NAME.Control] [--admin-port N] [--cleanup-ms N] [--stop-grace-ms N]\n"
           "       kvagent --set-password [--workdir DIR]   (reads the new password from standard input)\n"
           "       kvagent --fingerprint [--workdir DIR]    (the SHA-256 fingerprint that clients pin)\n"
           "       kvagent --new-identity [--workdir DIR]   (a new key and certificate; clients must trust it again)\n"
           "       kvagent --version\n";
}

} // namespace kv::agent
