#include "tests/support/TestIdentity.h"

#include <stdexcept>

namespace kv::test {

namespace {

AgentIdentity made(const char* name) {
    std::string error;
    std::optional<AgentIdentity> identity = makeAgentIdentity(name, &error);
    if (!identity)
        throw std::runtime_error("cannot make a test identity: " + error);
    return *identity;
}

std::shared_ptr<SslContext> serverContextFor(const AgentIdentity& identity) {
    auto context = SslContext::create(SslRole::Server, identity.keys);
    if (!context)
        throw std::runtime_error("cannot set up a server context");
    return context;
}

} // namespace

const AgentIdentity& testAgentIdentity() {
    static const AgentIdentity identity = made("kvagent test");
    return identity;
}

std::shared_ptr<SslContext> testServerContext() {
    return serverContextFor(testAgentIdentity());
}

std::shared_ptr<SslContext> otherServerContext() {
    static const AgentIdentity other = made("kvagent impostor");
    return serverContextFor(other);
}

std::shared_ptr<SslContext> testClientContext() {
    return SslContext::create(SslRole::Client);
}

} // namespace kv::test
