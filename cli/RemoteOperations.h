#pragma once

#include "cli/RemoteBans.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::cli {

class OptionParser;

// One "kvsm remote" command as given on the command line.
struct RemoteRequest {
    std::string command;
    std::vector<std::string> arguments;
    std::string host;
    std::string trustFile; // where the agent's identity is pinned, for the messages about it
    bool verbose = false;
    // upload-config
    std::string runMode;
    std::string map;
    std::string descriptionFile;
    std::string gameAdminPassword;
    std::string gamePlayerPassword;
    // set-restart, as the agent takes it: "None" or minutes after midnight
    std::string restartTime;
    // ban, unban
    BanRequest ban;

    // Makes the local file arguments absolute (with `absolute`), before the program changes its folder.
    void resolve(const std::function<std::string(const std::string&)>& absolute);
};

bool isRemoteCommand(const std::string& command);
// Checks the arguments and takes the command's options; a message for the user when something is wrong.
std::string checkRemoteArguments(RemoteRequest& request, const OptionParser& options);
// Carries the command out through the library's functions; the exit status.
int runRemoteOperation(RemoteControlLibrary& library, const RemoteRequest& request, const std::string& user,
                       const std::string& password, std::ostream& out, std::ostream& err);

} // namespace kv::cli
