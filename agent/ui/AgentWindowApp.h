#pragma once

#include "agent/AgentEnvironment.h"
#include "agent/AgentSettings.h"

namespace kv::agent::ui {

// kvagent with its window: the first-run dialog when no settings file was found, then the main window over the
// same core as the headless agent. Returns the process's exit code once the main window has closed.
int runAgentWindow(int& argc, char** argv, const AgentEnvironment& env, AgentSettings settings, bool settingsFound);

} // namespace kv::agent::ui
