#pragma once

#include "cli/AgentTrustDialog.h"
#include "client/RemoteControlApi.h"

#include <iosfwd>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::cli {

// Starts the library's monitor thread on `object` and prints each output line as it arrives, until the feed ends
// (its closing lines are printed too); the thread has ended on return. `identity` receives how the feed's own
// contact with the agent went. Returns 0 when the feed could not start.
int followFeed(RemoteControlLibrary& library, KvsmRemoteObject* object, std::ostream& out, std::ostream& err,
               IdentityCheck& identity);

} // namespace kv::cli
