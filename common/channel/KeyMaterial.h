#pragma once

#include <string>

namespace kv {

// PEM texts of the agent's end of the channel, loaded from memory. The certificate text may carry a readable dump
// before its PEM block. The client end carries none: the password is its credential, and it checks the agent's
// certificate against the fingerprint it pinned.
struct KeyMaterial {
    std::string certificatePem;
    std::string privateKeyPem;
};

} // namespace kv
