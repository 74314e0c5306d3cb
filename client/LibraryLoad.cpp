// Set-up when the library is loaded: the process-wide TLS context of the client role. It carries no key: the
// client proves itself with the password and checks the agent by its pinned fingerprint. A failure is not reported
// here; every later connect then fails its handshake and the operations return 0.
#include "common/channel/SslContext.h"

namespace {

__attribute__((constructor)) void onLibraryLoad() {
    try {
        kv::InitSslContext(kv::SslRole::Client);
    } catch (...) {
    }
}

} // namespace
