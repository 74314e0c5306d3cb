#pragma once

#include "agent/AgentEnvironment.h"
#include "agent/AgentSettings.h"

// The agent's windows live in a module of their own, kvagent-ui.so beside kvagent, so that `kvagent --headless`
// never maps Qt Widgets and Gui and the libraries they pull in. kvagent loads it only when a window is wanted and
// calls its one entry point; nothing is thrown across it.
extern "C" {

// Raised whenever this structure changes, so that a stale module beside a newer kvagent is refused.
#define KVAGENT_WINDOW_MODULE_VERSION 2

struct KvAgentWindowStart {
    int version; // KVAGENT_WINDOW_MODULE_VERSION
    int* argc;
    char** argv;
    const kv::agent::AgentEnvironment* env;
    const kv::agent::AgentSettings* settings;
    int settingsFound;
};

// Opens the window (the first-run dialog first when no settings were found) and returns the exit code once it has
// closed.
typedef int (*KvAgentWindowMainFn)(const KvAgentWindowStart* start);

} // extern "C"

namespace kv::agent::ui {
inline constexpr const char* kWindowModuleFile = "kvagent-ui.so";
inline constexpr const char* kWindowModuleEntry = "kvagent_window_main";
} // namespace kv::agent::ui
