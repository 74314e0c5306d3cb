#pragma once

#include "agent/AgentSettings.h"

#include <string>
#include <string_view>

namespace kv::agent {

// KVSMRC.ini: the agent's settings file in its working folder.
namespace settings_file {

inline constexpr const char* kFileName = "KVSMRC.ini";
// Host name of the ranking service's web site, named in the file's comments.
inline constexpr const char* kHonorSiteHost = "honor.korvane.example";

// Applies the key lines of `text` to `settings`: keys matched at the start of a line without regard to case, the
// first key of the fixed order takes the line, a later line overrides an earlier one, anything else is ignored.
// Lines longer than 511 characters are handled in pieces, as the file format always was.
void parse(std::string_view text, AgentSettings& settings);

// The whole file as the agent writes it.
std::string render(const AgentSettings& settings);

enum class LoadResult { Loaded, Missing };
// Resets the password digest to the default, then reads `path` over `settings` (which carries command-line values).
// Missing: the file could not be opened (first run); `settings` then holds the defaults and command-line values.
LoadResult load(const std::string& path, AgentSettings& settings);

// Writes the file atomically, mode 0600; false (with `error`) when it cannot be written, the old file then stays as it was.
bool save(const std::string& path, const AgentSettings& settings, std::string* error = nullptr);

// Message shown when saving fails.
inline constexpr const char* kSaveFailedText =
    "Unable to save settings.  The file may be write protected.  Please correct the error and try again.";
inline constexpr const char* kSaveFailedCaption = "Unable to Save KVSM RCU Settings";

} // namespace settings_file
} // namespace kv::agent
