#pragma once

#include "agent/service/AgentFilePaths.h"

#include <string>
#include <vector>

namespace kv::agent::service {

// The records of the remote lists, each a line with its line feed, in name order.

// Control files whose game configuration (same name, ".ini") exists: name, map, run mode (the last such entry of
// the file; empty when it has none) and the control file's last-write time.
std::vector<std::string> configurationRecords(const AgentFilePaths& paths);
// Files of the screenshot folder whose name holds ".jpg", ".jpeg", ".png", ".ping" or ".bmp" in any letter case.
std::vector<std::string> screenshotRecords(const AgentFilePaths& paths);
// Anti-cheat logs ("*.log") and option files ("*.cfg"; the extension compared in any letter case).
std::vector<std::string> antiCheatLogRecords(const AgentFilePaths& paths);
std::vector<std::string> optionFileRecords(const AgentFilePaths& paths);

} // namespace kv::agent::service
