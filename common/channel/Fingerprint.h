#pragma once

#include <openssl/x509.h>

#include <string>
#include <string_view>

namespace kv {

// The SHA-256 fingerprint of a certificate as `openssl x509 -noout -fingerprint -sha256` shows it: 32 upper-case
// hexadecimal byte pairs joined by colons. Empty when it cannot be computed.
std::string certificateFingerprint(X509* certificate);

// The canonical form of a fingerprint that a user typed or pasted: 64 hexadecimal digits in any case, with or
// without colons, optionally after "SHA256:" or "sha256 Fingerprint=". Empty when the text is anything else.
std::string canonicalFingerprint(std::string_view text);

} // namespace kv
