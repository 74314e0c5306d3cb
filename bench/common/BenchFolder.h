#pragma once

#include <string>

namespace kv::bench {

// A fresh folder below /tmp for one benchmark run, removed with its contents at the end.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& prefix);
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder();

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const;

private:
    std::string path_;
};

} // namespace kv::bench
