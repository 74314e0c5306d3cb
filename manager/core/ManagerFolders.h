#pragma once

#include <string>

namespace kv::core {

// The manager's per-user working folder: <XDG data home>/KV Server Manager.
std::string defaultWorkingFolder();

// The user's documents folder (generated game files go below it).
std::string documentsFolder();

// The folder that holds the data files shipped with the programs, for a program in `programFolder`: $KV_DATA_DIR,
// then the installed share/kv-server-manager and data/ beside the program, then the source tree of a build; empty if
// none. Nothing is looked for relative to the current folder.
std::string shippedDataFolder(const std::string& programFolder);

// The folder of our HTML help pages for a program in `programFolder`: $KV_HELP_DIR, then the installed
// share/doc/kv-server-manager/help, then docs/help of the source tree; empty if none.
std::string helpFolder(const std::string& programFolder);

} // namespace kv::core
