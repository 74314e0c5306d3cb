// kvsm: the command-line front end for administrators and scripts. The first word picks the command family.

#include "cli/ManagerPreferences.h"
#include "cli/QueryCommand.h"
#include "cli/RemoteCommand.h"
#include "cli/SetupCommand.h"
#include "common/InstallLayout.h"
#include "manager/core/ManagerFolders.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* kUsage = "Usage: kvsm <family> <command> [options] ...\n"
                     "\n"
                     "Families:\n"
                     "  setup    the manager's library of server setups (kvsm setup --help)\n"
                     "  remote   a game-server host's agent over the network (kvsm remote --help)\n"
                     "  query    a game server's live status over UDP (kvsm query --help)\n"
                     "\n"
                     "Exit status: 0 done, 1 refused or failed (the reason on standard error), 2 wrong usage.\n";

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string family = args.front();
    args.erase(args.begin());
    if (family == "--help" || family == "-h" || family == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (family == "setup") {
        kv::cli::ManagerPreferences prefs = kv::cli::readManagerPreferences();
        return kv::cli::runSetupCommand(args, prefs, kv::core::shippedDataFolder(kv::runningProgramFolder()), std::cout,
                                        std::cerr);
    }
    if (family == "remote") {
        return kv::cli::runRemoteCommand(args, kv::runningProgramFolder(), std::cout, std::cerr);
    }
    if (family == "query")
        return kv::cli::runQueryCommand(args, std::cout, std::cerr);
    std::cerr << "kvsm: unknown command family \"" << family << "\".\n" << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        int status = run(argc, argv);
        std::cout.flush();
        return std::cout ? status : 1;
    } catch (const std::exception& e) {
        std::cerr << "kvsm: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "kvsm: unexpected failure\n";
    }
    return 1;
}
