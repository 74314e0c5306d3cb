#pragma once

#include <signal.h>

namespace kv {

// Keeps a write to a connection the peer has closed from killing the process with SIGPIPE. OpenSSL writes with
// write(2), so MSG_NOSIGNAL is not available, and a library must not change the process's signal handling: the
// signal is blocked for this thread while the guard lives, and a SIGPIPE that the guarded writes raised is taken
// off the pending set before the old mask comes back.
class SigPipeGuard {
public:
    SigPipeGuard();
    SigPipeGuard(const SigPipeGuard&) = delete;
    SigPipeGuard& operator=(const SigPipeGuard&) = delete;
    ~SigPipeGuard();

private:
    sigset_t oldMask_;
    bool wasPending_ = false;
};

} // namespace kv
