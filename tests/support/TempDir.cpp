#include "tests/support/TempDir.h"

#include "common/Files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace kv::test {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = joinPath(base && *base ? base : "/tmp", "kvtest-XXXXXX");
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()))
        path_ = buffer.data();
}

TempDir::~TempDir() {
    if (path_.empty())
        return;
    removeTree(path_);
}

std::string TempDir::file(std::string_view relativePath) const { return joinPath(path_, relativePath); }

std::string TempDir::write(std::string_view relativePath, std::string_view content) const {
    std::string full = file(relativePath);
    if (path_.empty() || !makeDirectories(std::string(dirName(full))))
        return {};
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return out.good() ? full : std::string();
}

} // namespace kv::test
