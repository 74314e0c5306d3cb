#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>

namespace kv::setups {

// The two roots of the library tree, in the order they are shown.
enum class LibraryRoot { Standard, Tournament };

std::string_view rootLabel(LibraryRoot root); // "Standard Server Setups", "Tournament Server Setups"

struct LibraryCategory {
    LibraryRoot root = LibraryRoot::Standard;
    std::string label;
};

// Where a (loaded) setup falls in the tree: tournament setups by event and team size, rotating setups by their
// number of maps, the others by their map.
LibraryCategory categoryOf(const ServerSetup& setup);

} // namespace kv::setups
