#include "common/channel/Fingerprint.h"

#include "common/Text.h"

#include <openssl/evp.h>

namespace kv {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kDigestBytes = 32;

std::string colonHex(const unsigned char* bytes, std::size_t count) {
    std::string out;
    out.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += ':';
        out += kHexDigits[bytes[i] >> 4];
        out += kHexDigits[bytes[i] & 0x0F];
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string certificateFingerprint(X509* certificate) {
    if (!certificate)
        return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest, &length) != 1 || length != kDigestBytes)
        return {};
    return colonHex(digest, length);
}

std::string canonicalFingerprint(std::string_view text) {
    for (std::string_view prefix : {"sha256 fingerprint=", "sha256:"}) {
        if (text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix)) {
            text.remove_prefix(prefix.size());
            break;
        }
    }
    // Either 64 bare digits or 32 pairs with a colon between each: nothing in between is accepted.
    const bool withColons = text.size() == kDigestBytes * 3 - 1;
    if (!withColons && text.size() != kDigestBytes * 2)
        return {};
    unsigned char bytes[kDigestBytes];
    std::size_t at = 0;
    for (std::size_t i = 0; i < kDigestBytes; ++i) {
        if (withColons && i > 0 && text[at++] != ':')
            return {};
        int high = hexValue(text[at]);
        int low = hexValue(text[at + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes[i] = static_cast<unsigned char>(high * 16 + low);
        at += 2;
    }
    return colonHex(bytes, kDigestBytes);
}

} // namespace kv
