#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>

namespace kv::core {
struct ManagerContext;
}

namespace kv::setups {
class MapTable;
}

namespace kv::manager::local {

// A setup read from its file and turned into the game's files in <documents>/Korvane Server Setups, as the Generate,
// E-Mail and Run commands need it.
struct SetupPackage {
    bool ok = false;
    std::string title;         // caption of the failure message
    std::string message;       // what went wrong
    setups::ServerSetup setup; // generated: its file names and start command are filled
    std::string folder;        // where the generated files are
    std::string localCommand;  // the command line that runs it on this machine (one string, to be split)

    // Reads `setupFile` and generates its files with the context's template, folders and server authorization.
    static SetupPackage generate(const core::ManagerContext& context, const setups::MapTable& maps,
                                 const std::string& setupFile);
};

} // namespace kv::manager::local
