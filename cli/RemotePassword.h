#pragma once

#include <optional>
#include <string>

namespace kv::cli {

// The administrator password of "kvsm remote", never taken from the command line (where other users of the
// machine could read it): the first line of `passwordFile` when one is named, else the variable KVSM_PASSWORD,
// else a prompt on the terminal without echo. Empty (with `error`) when none of them gives one.
std::optional<std::string> readRemotePassword(const std::optional<std::string>& passwordFile, const std::string& prompt,
                                              std::string& error);

} // namespace kv::cli
