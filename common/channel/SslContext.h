#pragma once

#include "common/channel/KeyMaterial.h"
#include "common/channel/OpenSslHandles.h"

#include <memory>
#include <string>

namespace kv {

enum class SslRole { Client, Server };

// Results of setting up a context; the numbers are the ones callers log.
enum SslSetupResult : int {
    SslSetupOk = 0,
    SslSetupNoContext = 2,      // the context could not be created
    SslSetupBadCertificate = 3, // server role: the certificate could not be loaded
    SslSetupBadKey = 4,         // the private key could not be loaded
    SslSetupKeyMismatch = 5,    // server role: the key does not belong to the certificate
};

// One role's TLS settings: TLS 1.2 or newer with OpenSSL's default suites. The server presents the agent's own
// certificate and key. The client presents none and accepts any certificate during the handshake: it compares the
// certificate's fingerprint with the one it pinned before it sends anything (see CCommAsyncSocket).
class SslContext {
public:
    // Builds a context; `result` receives one of SslSetupResult. Null on failure. The client role takes no keys.
    static std::shared_ptr<SslContext> create(SslRole role, const KeyMaterial& keys = {}, int* result = nullptr);

    SslRole role() const { return role_; }
    SSL_CTX* native() const { return context_.get(); }

private:
    SslContext(SslRole role, SslContextPtr context) : role_(role), context_(std::move(context)) {}

    SslRole role_;
    SslContextPtr context_;
};

// The process-wide context of a deliverable. The first successful call creates it; later calls return 0 and change
// nothing. The context lives until the process ends.
int InitSslContext(SslRole role, const KeyMaterial& keys = {});
// The process-wide context, or null before InitSslContext succeeded.
std::shared_ptr<SslContext> processSslContext();

// OpenSSL's text for the most recent error of this thread (and clears the queue); empty when there is none.
std::string lastSslErrorText();

} // namespace kv
