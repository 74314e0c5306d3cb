#include "bench/common/BenchOptions.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv::bench {

BenchOptions BenchOptions::parse(int argc, char** argv, const std::string& defaultBin,
                                 const std::string& defaultRoot) {
    BenchOptions options{defaultBin, defaultRoot};
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--bin")
            options.bin = argv[++i];
        else if (name == "--root")
            options.root = argv[++i];
    }
    // Absolute, since programs from it are linked into game folders elsewhere.
    std::error_code ignored;
    options.bin = std::filesystem::absolute(options.bin, ignored).string();
    return options;
}

int countOption(int argc, char** argv, const std::string& name, int fallback, int low, int high) {
    int value = fallback;
    for (int i = 1; i + 1 < argc; ++i)
        if (argv[i] == name)
            value = std::atoi(argv[i + 1]);
    return std::clamp(value, low, high);
}

} // namespace kv::bench
