#pragma once

#include "tests/support/TempDir.h"

#include <string>
#include <vector>

namespace kv::test {

struct KvsmResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built kvsm with `arguments` and a home, settings and data folders of its own below `dir`, standard input
// empty; standard output and error are kept apart, byte for byte. The sanitizers' settings and TZ are passed on.
KvsmResult runKvsm(const TempDir& dir, const std::vector<std::string>& arguments,
                   const std::string& path = "/usr/bin:/bin");

} // namespace kv::test
