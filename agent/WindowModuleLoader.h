#pragma once

#include "agent/ui/AgentWindowModule.h"

#include <string>

namespace kv::agent {

// Loads kvagent-ui.so from `programFolder` and runs its window. The module stays loaded until the process ends.
// When it cannot be loaded, says why on standard error and returns 2.
int runWindowModule(const std::string& programFolder, const KvAgentWindowStart& start);

// The folder of the running program (from /proc/self/exe; "." when that cannot be read).
std::string runningProgramFolder();

} // namespace kv::agent
