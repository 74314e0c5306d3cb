#pragma once

#include "manager/local/LocalRun.h"

#include <string>

namespace kv::core {
struct ManagerContext;
}

namespace kv::setups {
class MapTable;
}

namespace kv::manager::local {

// What running a setup on this machine needs: its files generated, and the local start command split into the
// arguments of the server program (never through a shell), to be run in the game's System folder.
struct LocalRunPlan {
    bool ok = false;
    std::string title;   // caption of the failure message
    std::string message; // what went wrong
    LocalRun::Request request;

    static LocalRunPlan make(const core::ManagerContext& context, const setups::MapTable& maps,
                             const std::string& setupFile);
};

} // namespace kv::manager::local
