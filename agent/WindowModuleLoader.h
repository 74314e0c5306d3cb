#pragma once

#include "agent/ui/AgentWindowModule.h"

#include <string>

namespace kv::agent {

// Loads kvagent-ui.so from `programFolder` (a build tree) or the installed library folder beside it, and runs its
// window. The module stays loaded until the process ends. When it cannot be loaded, says why on standard error and
// returns 2.
int runWindowModule(const std::string& programFolder, const KvAgentWindowStart& start);

} // namespace kv::agent
