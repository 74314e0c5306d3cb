#include "bench/common/BenchOptions.h"

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

} // namespace kv::bench
