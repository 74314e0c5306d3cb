#pragma once

#include <string>
#include <vector>

namespace kv::setups {

// Data files shipped with the manager that belong in its working folder.
const std::vector<std::string>& shippedDataFiles(); // ConfigurationTemplate.ini, MapInfo.xml

// The first folder of `candidates` that holds the shipped template; empty when none does.
std::string findShippedDataFolder(const std::vector<std::string>& candidates);

// Creates the working folder and its Server Setups folder, and copies each shipped data file, and each file of the
// shipped LeagueInfo folder, that the working folder lacks. Files already there are the administrator's and are
// left alone. Returns the names copied, relative to the working folder.
std::vector<std::string> prepareWorkingFolder(const std::string& workingFolder, const std::string& dataFolder);

} // namespace kv::setups
