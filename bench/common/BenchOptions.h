#pragma once

#include <string>

namespace kv::bench {

// The arguments every benchmark takes: `--bin DIR` (the built programs) and `--root DIR` (the source tree).
struct BenchOptions {
    std::string bin;
    std::string root;

    // Missing arguments take the build's own folders.
    static BenchOptions parse(int argc, char** argv, const std::string& defaultBin, const std::string& defaultRoot);
};

// A whole-number option `name N`: `fallback` when it is missing, then held between `low` and `high`.
int countOption(int argc, char** argv, const std::string& name, int fallback, int low, int high);

} // namespace kv::bench
