#pragma once

#include <sys/types.h>
#include <vector>

namespace kv::test {

// Whether a process has ended: it no longer exists, or it is a zombie waiting for its reaper (which may be the
// machine's init, outside our control).
bool processGone(pid_t pid);
// Processes whose parent is `parent` now, from /proc.
std::vector<pid_t> childrenOf(pid_t parent);

} // namespace kv::test
