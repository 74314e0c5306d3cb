#pragma once

#include <string>

namespace kv::agent {

// The headless agent's first start hands its random administrator password over in a file of the working folder
// that only the agent's user can read, rather than on standard output, which ends up in journals and scroll-back.
namespace initial_password_file {

inline constexpr const char* kFileName = "kvagent-initial-password";

// Writes `password` and a line feed to `path` with mode 0600, replacing an earlier file only once the new one is
// complete. False, with `error`, when it cannot be written; nothing is left behind then.
bool write(const std::string& path, const std::string& password, std::string* error);

} // namespace initial_password_file
} // namespace kv::agent
