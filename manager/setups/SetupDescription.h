#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>

namespace kv::setups {

class MapTable;

// The plain-text summary of a setup that the manager shows people, lines ending in CR LF. `detailed` adds the
// player administrator warning and the map overviews. The setup's own description follows the Notes heading.
std::string describeSetup(const ServerSetup& setup, const MapTable& maps, bool detailed);

} // namespace kv::setups
