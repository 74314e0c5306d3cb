// Set-up when the library is loaded: the process-wide TLS context of the client role from the built-in keys.
// A failure is not reported here; every later connect then fails its handshake and the operations return 0.
#include "common/channel/KeyMaterial.h"
#include "common/channel/SslContext.h"

namespace {

__attribute__((constructor)) void onLibraryLoad() {
    try {
        kv::InitSslContext(kv::SslRole::Client, kv::clientKeyMaterial());
    } catch (...) {
    }
}

} // namespace
