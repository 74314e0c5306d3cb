#include "common/AtomicFile.h"

#include "common/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kv {

namespace {

// The process's file creation mask, read without changing it: umask() can only be read by setting it, and a
// thread that saves while another has it set to 0 would create a world-writable file. The kernel shows it in
// /proc/self/status; where it does not, it is read once, before any saving thread can run.
mode_t readCreationMask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask & 0777);
    }
    static const mode_t fallback = [] {
        mode_t mask = ::umask(022);
        ::umask(mask);
        return mask;
    }();
    return fallback;
}

} // namespace

AtomicFile::AtomicFile(std::string targetPath, FlushToDisk flush, FileAccess access)
    : target_(std::move(targetPath)), flush_(flush), access_(access) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::fail(const char* what) {
    error_ = std::string(what) + " " + (temp_.empty() ? target_ : temp_) + ": " + std::strerror(errno);
    failed_ = true;
    return false;
}

bool AtomicFile::open() {
    discard();
    failed_ = false;
    error_.clear();
    std::vector<char> name(target_.begin(), target_.end());
    const char suffix[] = ".tmp-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return fail("Cannot create");
    temp_.assign(name.data());
    if (access_ == FileAccess::OwnerOnly)
        return true; // mkostemp made it 0600
    // Keep the permissions a plain new file would get, not mkstemp's 0600.
    struct stat existing {};
    mode_t mode =
        (::stat(target_.c_str(), &existing) == 0) ? (existing.st_mode & 07777) : (0666 & ~readCreationMask());
    ::fchmod(fd_, mode);
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (fd_ < 0 || failed_)
        return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("Cannot write");
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failed_)
        return false;
    if (flush_ == FlushToDisk::Yes && ::fsync(fd_) != 0)
        return fail("Cannot flush");
    int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        return fail("Cannot close");
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail("Cannot replace");
    temp_.clear();
    return true;
}

void AtomicFile::discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error, FlushToDisk flush,
                         FileAccess access) {
    AtomicFile file(path, flush, access);
    bool ok = file.open() && file.write(bytes) && file.commit();
    if (!ok && error)
        *error = file.error();
    return ok;
}

int removeStaleTemporaryFiles(const std::string& folder) {
    constexpr std::string_view marker = ".tmp-";
    constexpr std::size_t randomPart = 6; // mkostemp's XXXXXX
    int removed = 0;
    for (const std::string& name : listDirectory(folder)) {
        if (name.size() <= marker.size() + randomPart ||
            name.compare(name.size() - randomPart - marker.size(), marker.size(), marker) != 0)
            continue;
        struct stat info {};
        const std::string path = joinPath(folder, name);
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && removeFile(path))
            ++removed;
    }
    return removed;
}

} // namespace kv
