#include "common/protocol/Login.h"

#include "common/Md5.h"
#include "common/Text.h"

#include <openssl/crypto.h>

namespace kv::protocol {

LoginVerdict checkLogin(std::string_view name, std::string_view password, std::string_view adminName,
                        std::string_view md5Password) {
    // Both checks always run and the digests are compared in constant time, so that the time of the answer tells
    // nothing about which check failed or how much of the digest matched.
    const bool nameMatches = equalsNoCase(name, adminName);
    const std::string digest = md5Hex(password);
    const bool passwordMatches =
        digest.size() == md5Password.size() && CRYPTO_memcmp(digest.data(), md5Password.data(), digest.size()) == 0;
    if (!nameMatches)
        return LoginVerdict::BadAdminName;
    if (!passwordMatches)
        return LoginVerdict::BadPassword;
    return LoginVerdict::Accepted;
}

const char* loginRejectionReason(LoginVerdict verdict) {
    switch (verdict) {
    case LoginVerdict::BadAdminName:
        return "Bad Admin Name";
    case LoginVerdict::BadPassword:
        return "Bad PW";
    case LoginVerdict::Accepted:
        break;
    }
    return "";
}

} // namespace kv::protocol
