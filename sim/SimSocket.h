#pragma once

#include "common/UniqueFd.h"

#include <string>
#include <sys/socket.h>

namespace kv::sim {

// A non-blocking, close-on-exec socket bound to a numeric address (IPv4 or IPv6) and port; listening when `type`
// is SOCK_STREAM. Invalid on failure, with `error` saying why.
UniqueFd openBoundSocket(const std::string& address, int port, int type, std::string& error);

// "address:port" of a peer, for output lines.
std::string addressText(const sockaddr_storage& address);

} // namespace kv::sim
