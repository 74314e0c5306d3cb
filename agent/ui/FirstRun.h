#pragma once

#include "agent/AgentEnvironment.h"
#include "agent/AgentSettings.h"

namespace kv::gui {
class Prompter;
}

namespace kv::agent::ui {

// No KVSMRC.ini yet: the settings dialog opens with "Admin", the default password and the command line's values.
// Save takes the first-run fields (configure_values::applyFirstRun) and writes the file; Cancel keeps the defaults
// for this run only. True when the file was written.
bool runFirstRunDialog(AgentSettings& settings, const AgentEnvironment& env, gui::Prompter& prompter);

} // namespace kv::agent::ui
