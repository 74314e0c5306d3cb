#pragma once

#include <sys/types.h>

namespace kv::test {

// Whether a process has ended: it no longer exists, or it is a zombie waiting for its reaper (which may be the
// machine's init, outside our control).
bool processGone(pid_t pid);

} // namespace kv::test
