#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::protocol {

struct HostAndPort {
    std::string host;
    unsigned port = 0;
};

// "address" or "address:port" (port 1..65535); without a port `defaultPort` is used. Empty for a bad port or an
// empty address.
std::optional<HostAndPort> parseHostAndPort(std::string_view text, unsigned defaultPort);

} // namespace kv::protocol
