#pragma once

#include <string>
#include <vector>

namespace kv::test {

// One setup written by writeVariedLibrary.
struct WrittenSetup {
    std::string name; // m_csName
    std::string file; // its file in Server Setups
    bool tournament = false;
    std::string category; // the tree's category label
};

// Writes `count` setups into <workingFolder>/Server Setups through the setup store, varied the way a real library
// is: standard setups on single maps of the built-in table (several sharing a map), rotations of two to eight maps,
// tournaments with and without an event name and of several team sizes, names with blanks and punctuation. The same
// count always gives the same library. Returns what was written, in writing order.
std::vector<WrittenSetup> writeVariedLibrary(const std::string& workingFolder, std::size_t count);

} // namespace kv::test
