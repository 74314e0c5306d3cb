#include "common/channel/SigPipeGuard.h"

#include <cerrno>
#include <ctime>
#include <pthread.h>

namespace kv {

namespace {
sigset_t sigPipeSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool sigPipePending() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    return sigismember(&pending, SIGPIPE) == 1;
}
} // namespace

SigPipeGuard::SigPipeGuard() {
    wasPending_ = sigPipePending();
    sigset_t set = sigPipeSet();
    pthread_sigmask(SIG_BLOCK, &set, &oldMask_);
}

SigPipeGuard::~SigPipeGuard() {
    if (!wasPending_ && sigPipePending()) {
        int savedErrno = errno;
        sigset_t set = sigPipeSet();
        timespec none{0, 0};
        while (sigtimedwait(&set, nullptr, &none) == -1 && errno == EINTR) {
        }
        errno = savedErrno;
    }
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
}

} // namespace kv
