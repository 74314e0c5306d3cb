#pragma once

#include "manager/core/StatusQuery.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kv::cli {

// "kvsm query [--raw] HOST[:PORT]": one status query of a game server. `arguments` follow the word "query".
// Returns the exit status: 0 answered, 1 no answer, 2 wrong usage.
int runQueryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    core::StatusQueryTiming timing = {});

// The usage text of "kvsm query".
const char* queryUsage();

} // namespace kv::cli
