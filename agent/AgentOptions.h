#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::agent {

// What the agent's command line asks for. The designed switches (ShowFailures, ServerIP=, ControlFileName=, with
// one leading "/" or "-") sit beside this port's own "--" options.
struct AgentOptions {
    bool showFailures = false;
    std::optional<std::string> serverIp;        // ServerIP=
    std::optional<std::string> controlFileName; // ControlFileName=

    bool headless = false;
    bool setPassword = false; // --set-password: read a new password from standard input and store its digest
    bool fingerprint = false; // --fingerprint: print the agent identity's fingerprint (making the identity if needed)
    bool newIdentity = false; // --new-identity: replace the agent identity with a new one
    bool version = false;
    bool help = false;
    std::string workDir;      // --workdir DIR
    bool userWorkDir = false; // --user-workdir: the per-user folder of userWorkFolder() (the menu entry's choice)
    int adminPort = 0;        // --admin-port N (0: the default 49600)
    int cleanupDelayMs = -1;  // --cleanup-ms N: wait after SHUTDOWN before clean-up (-1: the default 11000)
    int stopGraceMs = -1;     // --stop-grace-ms N: SIGTERM to SIGKILL (-1: the default 1000)

    std::string error; // set when an option is malformed; the agent then refuses to start
};

AgentOptions parseAgentOptions(const std::vector<std::string>& arguments);

// The working folder of an agent started from the desktop menu, whose current folder is merely the home folder:
// "$XDG_DATA_HOME/KV Server Remote Control", else the same below ~/.local/share; empty without a home.
std::string userWorkFolder();

// Usage text for --help and for a malformed command line.
const char* agentUsage();

} // namespace kv::agent
