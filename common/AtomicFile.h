#pragma once

#include <string>
#include <string_view>

namespace kv {

// Writes a file that replaces an earlier version: the bytes go to a temporary file in the same folder, which is
// flushed and renamed over the target only when complete. A crash, a full disk or a broken transfer therefore
// never leaves a truncated file in place of a good one.
enum class FlushToDisk {
    Yes, // the file must survive a power loss: settings, setups, uploads
    No,  // derived files that are generated again at will; the rename alone keeps them whole
};

enum class FileAccess {
    Usual,     // an existing file keeps its permissions; a new one gets what the process's umask allows
    OwnerOnly, // 0600 whatever the old file had: files that hold passwords or keys
};

class AtomicFile {
public:
    explicit AtomicFile(std::string targetPath, FlushToDisk flush = FlushToDisk::Yes,
                        FileAccess access = FileAccess::Usual);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Discards the temporary file unless commit() succeeded.
    ~AtomicFile();

    // Creates the temporary file; false (with error()) when that is not possible.
    bool open();
    bool write(std::string_view bytes);
    // Flushes, closes and renames over the target. False leaves the target as it was.
    bool commit();
    // Throws the partial file away; the target stays as it was.
    void discard();

    const std::string& error() const { return error_; }
    const std::string& targetPath() const { return target_; }

private:
    bool fail(const char* what);

    std::string target_;
    FlushToDisk flush_;
    FileAccess access_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
    std::string error_;
};

// One-call form: writes `bytes` to `path` atomically. On failure returns false and, if given, sets `error`.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                         FlushToDisk flush = FlushToDisk::Yes, FileAccess access = FileAccess::Usual);

// Removes what writers of this kind left behind in `folder` when the process ended before commit or discard
// (files named "<target>.tmp-XXXXXX"). Only for a folder that no other process writes into at the time. The
// number of files removed.
int removeStaleTemporaryFiles(const std::string& folder);

} // namespace kv
