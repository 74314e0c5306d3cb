#pragma once

#include <string_view>

namespace kv {

// PEM texts of one end of the channel, loaded from memory. The certificate text may carry a readable dump before
// its PEM block. An empty authority switches peer verification off.
struct KeyMaterial {
    std::string_view certificatePem;
    std::string_view privateKeyPem;
    std::string_view authorityPem;
};

// Built in from data/keys (libraries kv_keys_client and kv_keys_server).
KeyMaterial clientKeyMaterial();
KeyMaterial serverKeyMaterial();

} // namespace kv
