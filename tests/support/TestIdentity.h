#pragma once

#include "common/channel/AgentIdentity.h"
#include "common/channel/SslContext.h"

#include <memory>

namespace kv::test {

// An agent identity made once per test process (a P-256 key is quick to make), and contexts over it.
const AgentIdentity& testAgentIdentity();
std::shared_ptr<SslContext> testServerContext();
// A server context with an identity of its own: an impostor, as far as a client that pinned the first is concerned.
std::shared_ptr<SslContext> otherServerContext();
std::shared_ptr<SslContext> testClientContext();

} // namespace kv::test
