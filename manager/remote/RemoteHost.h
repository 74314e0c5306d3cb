#pragma once

#include <string>

namespace kv::remote {

// The login that a client object is made from, in the order CreateRemoteControlObject takes it.
struct RemoteHost {
    std::string address; // "a.b.c.d" or "a.b.c.d:port"
    std::string adminName;
    std::string password;
};

} // namespace kv::remote
