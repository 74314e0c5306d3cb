#include "bench/common/BenchOptions.h"

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
    return options;
}

} // namespace kv::bench
