#pragma once

#include <string>
#include <string_view>

namespace kv::test {

// A fresh folder for one test ($TMPDIR or /tmp, "kvtest-XXXXXX"), removed with all its contents by the destructor.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    // Empty when the folder could not be created.
    const std::string& path() const { return path_; }
    // path() joined with a relative name.
    std::string file(std::string_view relativePath) const;
    // Writes a file below the folder, creating missing folders on the way; returns its full path ("" on failure).
    std::string write(std::string_view relativePath, std::string_view content) const;

private:
    std::string path_;
};

} // namespace kv::test
