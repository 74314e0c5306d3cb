#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kv::cli {

struct ManagerPreferences;

// "kvsm setup <command> ...": the setup library from the command line. `arguments` follow the word "setup".
// Returns the exit status: 0 done, 1 refused or failed (message on `err`), 2 wrong usage.
int runSetupCommand(const std::vector<std::string>& arguments, const ManagerPreferences& preferences,
                    const std::string& dataFolder, std::ostream& out, std::ostream& err);

// The usage text of "kvsm setup".
const char* setupUsage();

} // namespace kv::cli
