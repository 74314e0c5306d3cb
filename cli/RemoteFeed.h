#pragma once

#include "client/RemoteControlApi.h"

#include <iosfwd>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::cli {

// Starts the library's monitor thread on `object` and prints each output line as it arrives, until the feed ends
// (its closing lines are printed too). Returns 0 when the feed could not start; the object is unused afterwards.
int followFeed(RemoteControlLibrary& library, KvsmRemoteObject* object, std::ostream& out, std::ostream& err);

} // namespace kv::cli
