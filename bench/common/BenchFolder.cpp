#include "bench/common/BenchFolder.h"

#include "common/Files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv::bench {

BenchFolder::BenchFolder(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

BenchFolder::~BenchFolder() {
    if (!path_.empty())
        removeTree(path_);
}

std::string BenchFolder::file(const std::string& relative) const {
    return joinPath(path_, relative);
}

} // namespace kv::bench
