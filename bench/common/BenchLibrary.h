#pragma once

namespace kv::setups {
class MapTable;
class SetupStore;
} // namespace kv::setups

namespace kv::bench {

// Writes `count` realistic setups into the store's library: single-map, rotating and tournament setups with
// descriptions and admin lists, named "Setup 00000" upwards.
void fillLibrary(const setups::SetupStore& store, const setups::MapTable& maps, int count);

} // namespace kv::bench
