#pragma once

#include "agent/AgentEnvironment.h"
#include "agent/AgentSettings.h"

#include <functional>
#include <memory>

namespace kv::agent {
class Agent;
}

namespace kv::agent::ui {

// kvagent with its window: the first-run dialog when no settings file was found, then the main window over the
// same core as the headless agent. `startServices` (may be empty) starts what else serves the agent, such as the
// remote request listener, before the core begins; what it returns is kept until the agent has shut down.
// Returns the process's exit code once the main window has closed.
using AgentServices = std::function<std::shared_ptr<void>(Agent&)>;
int runAgentWindow(int& argc, char** argv, const AgentEnvironment& env, AgentSettings settings, bool settingsFound,
                   const AgentServices& startServices = {});

} // namespace kv::agent::ui
