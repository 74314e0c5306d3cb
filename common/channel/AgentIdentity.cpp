#include "common/channel/AgentIdentity.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/channel/Fingerprint.h"
#include "common/channel/OpenSslHandles.h"

#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rand.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr long kValidDays = 36500;

bool failWith(std::string* error, const std::string& text) {
    if (error) {
        *error = text;
        if (unsigned long code = ERR_get_error()) {
            char detail[256];
            ERR_error_string_n(code, detail, sizeof detail);
            *error += std::string(" (") + detail + ")";
        }
    }
    ERR_clear_error();
    return false;
}

std::string bioText(BIO* bio) {
    char* data = nullptr;
    long size = BIO_get_mem_data(bio, &data);
    return size > 0 ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

bool randomSerial(X509* certificate) {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        return false;
    bytes[0] &= 0x7F; // a positive number
    BIGNUM* number = BN_bin2bn(bytes, sizeof bytes, nullptr);
    if (!number)
        return false;
    bool ok = BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate)) != nullptr;
    BN_free(number);
    return ok;
}

// The PEM texts and the fingerprint of a key and its certificate.
std::optional<AgentIdentity> identityOf(EVP_PKEY* key, X509* certificate, std::string* error) {
    BioPtr keyText(BIO_new(BIO_s_mem()));
    BioPtr certificateText(BIO_new(BIO_s_mem()));
    if (!keyText || !certificateText ||
        PEM_write_bio_PrivateKey(keyText.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
        PEM_write_bio_X509(certificateText.get(), certificate) != 1) {
        failWith(error, "cannot write the key pair");
        return std::nullopt;
    }
    AgentIdentity identity;
    identity.keys.privateKeyPem = bioText(keyText.get());
    identity.keys.certificatePem = bioText(certificateText.get());
    identity.fingerprint = certificateFingerprint(certificate);
    return identity;
}

} // namespace

std::optional<AgentIdentity> makeAgentIdentity(const std::string& commonName, std::string* error) {
    PKeyPtr key(EVP_EC_gen("P-256"));
    X509Ptr certificate(X509_new());
    if (!key || !certificate) {
        failWith(error, "cannot make a key pair");
        return std::nullopt;
    }
    X509_NAME* name = X509_get_subject_name(certificate.get());
    std::string cn = commonName;
    if (cn.empty()) {
        char host[256] = {};
        cn = std::string("kvagent@") + (::gethostname(host, sizeof host - 1) == 0 ? host : "localhost");
    }
    cn = cn.substr(0, 64); // the longest common name a certificate may carry
    bool ok = X509_set_version(certificate.get(), 2) == 1 && randomSerial(certificate.get()) &&
              X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -24 * 60 * 60) &&
              X509_time_adj_ex(X509_getm_notAfter(certificate.get()), kValidDays, 0, nullptr) &&
              X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                         reinterpret_cast<const unsigned char*>(cn.data()),
                                         static_cast<int>(cn.size()), -1, 0) == 1 &&
              X509_set_issuer_name(certificate.get(), name) == 1 &&
              X509_set_pubkey(certificate.get(), key.get()) == 1 &&
              X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0;
    if (!ok) {
        failWith(error, "cannot make a certificate");
        return std::nullopt;
    }
    return identityOf(key.get(), certificate.get(), error);
}

std::optional<AgentIdentity> readAgentIdentity(const std::string& path, std::string* error) {
    std::optional<std::string> text = readFile(path);
    if (!text) {
        failWith(error, "cannot read " + path);
        return std::nullopt;
    }
    BioPtr bio(BIO_new_mem_buf(text->data(), static_cast<int>(text->size())));
    char noPassphrase[] = ""; // an encrypted key fails instead of prompting
    PKeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, noPassphrase) : nullptr);
    BioPtr again(BIO_new_mem_buf(text->data(), static_cast<int>(text->size())));
    X509Ptr certificate(again ? PEM_read_bio_X509(again.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!key || !certificate || X509_check_private_key(certificate.get(), key.get()) != 1) {
        failWith(error, path + " does not hold an agent identity (an unencrypted private key and its certificate)");
        return std::nullopt;
    }
    return identityOf(key.get(), certificate.get(), error);
}

bool writeAgentIdentity(const std::string& path, const AgentIdentity& identity, std::string* error) {
    return writeFileAtomically(path, identity.keys.privateKeyPem + identity.keys.certificatePem, error,
                               FlushToDisk::Yes, FileAccess::OwnerOnly);
}

std::optional<AgentIdentity> loadOrCreateAgentIdentity(const std::string& path, const std::string& commonName,
                                                       bool* created, std::string* error) {
    if (created)
        *created = false;
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 || errno != ENOENT)
        return readAgentIdentity(path, error);
    std::optional<AgentIdentity> identity = makeAgentIdentity(commonName, error);
    if (!identity || !writeAgentIdentity(path, *identity, error))
        return std::nullopt;
    if (created)
        *created = true;
    return identity;
}

} // namespace kv
