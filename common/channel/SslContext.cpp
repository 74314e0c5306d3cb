#include "common/channel/SslContext.h"

#include <mutex>
#include <openssl/err.h>
#include <openssl/pem.h>

namespace kv {

namespace {

BioPtr memoryBio(std::string_view pem) {
    return BioPtr(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
}

// PEM_read_bio_X509 skips the readable dump that precedes the PEM block.
bool useCertificateChain(SSL_CTX* context, std::string_view pem) {
    BioPtr bio = memoryBio(pem);
    if (!bio)
        return false;
    X509Ptr leaf(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    if (!leaf || SSL_CTX_use_certificate(context, leaf.get()) != 1)
        return false;
    while (X509* extra = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
        if (SSL_CTX_add0_chain_cert(context, extra) != 1) {
            X509_free(extra);
            return false;
        }
    }
    ERR_clear_error(); // the loop ends on "no start line"
    return true;
}

int usePrivateKey(SSL_CTX* context, std::string_view pem) {
    BioPtr bio = memoryBio(pem);
    if (!bio)
        return SslSetupBadKey;
    // The agent's key is not encrypted; an empty pass phrase makes an encrypted one fail instead of prompting.
    char noPassphrase[] = "";
    PKeyPtr key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, noPassphrase));
    if (!key)
        return SslSetupBadKey;
    X509* certificate = SSL_CTX_get0_certificate(context);
    if (certificate && X509_check_private_key(certificate, key.get()) != 1)
        return SslSetupKeyMismatch;
    return SSL_CTX_use_PrivateKey(context, key.get()) == 1 ? SslSetupOk : SslSetupBadKey;
}

std::mutex processMutex;
std::shared_ptr<SslContext> processContext;

} // namespace

std::shared_ptr<SslContext> SslContext::create(SslRole role, const KeyMaterial& keys, int* result) {
    auto report = [result](int code) {
        if (result)
            *result = code;
    };
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    SslContextPtr context(SSL_CTX_new(role == SslRole::Client ? TLS_client_method() : TLS_server_method()));
    if (!context || SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION) != 1) {
        report(SslSetupNoContext);
        return nullptr;
    }
    // Reads and writes are blocking; a renegotiation must not surface as a spurious "want read".
    SSL_CTX_set_mode(context.get(), SSL_MODE_AUTO_RETRY);
    if (role == SslRole::Client) {
        // No chain to check: the agent's certificate is self-signed and judged by its pinned fingerprint.
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_NONE, nullptr);
        report(SslSetupOk);
        return std::shared_ptr<SslContext>(new SslContext(role, std::move(context)));
    }
    if (!useCertificateChain(context.get(), keys.certificatePem)) {
        ERR_clear_error();
        report(SslSetupBadCertificate);
        return nullptr;
    }
    if (int keyResult = usePrivateKey(context.get(), keys.privateKeyPem); keyResult != SslSetupOk) {
        ERR_clear_error();
        report(keyResult);
        return nullptr;
    }
    if (SSL_CTX_check_private_key(context.get()) != 1) {
        ERR_clear_error();
        report(SslSetupKeyMismatch);
        return nullptr;
    }
    report(SslSetupOk);
    return std::shared_ptr<SslContext>(new SslContext(role, std::move(context)));
}

int InitSslContext(SslRole role, const KeyMaterial& keys) {
    std::lock_guard lock(processMutex);
    if (processContext)
        return SslSetupOk;
    int result = SslSetupOk;
    processContext = SslContext::create(role, keys, &result);
    return result;
}

std::shared_ptr<SslContext> processSslContext() {
    std::lock_guard lock(processMutex);
    return processContext;
}

std::string lastSslErrorText() {
    unsigned long code = ERR_get_error();
    if (code == 0)
        return {};
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return text;
}

} // namespace kv
