#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kv::cli {

// "kvsm remote <command> ...": one command per operation of the remote control library, which is loaded with
// dlopen from `programFolder` (or --library / KVSM_REMOTE_LIBRARY) and bound by name. `arguments` follow the word
// "remote". Returns the exit status: 0 done, 1 failed (reason on `err`), 2 wrong usage.
int runRemoteCommand(const std::vector<std::string>& arguments, const std::string& programFolder, std::ostream& out,
                     std::ostream& err);

const char* remoteUsage();

} // namespace kv::cli
