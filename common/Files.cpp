#include "common/Files.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

// Reads an open file to its end and closes it; nullopt on a read error or once it holds more than `maxBytes`.
std::optional<std::string> readAndClose(int fd, std::size_t maxBytes, std::size_t expected) {
    std::string data;
    data.reserve(std::min(expected, maxBytes));
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || data.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

} // namespace

std::optional<std::string> readFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    return readAndClose(fd, std::string().max_size(), sized ? static_cast<std::size_t>(st.st_size) : 0);
}

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    return readAndClose(fd, maxBytes, static_cast<std::size_t>(st.st_size)); // a file that grows past the limit fails
}

std::optional<long long> fileModifiedSeconds(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<long long>(st.st_mtime);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<long long> fileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<long long>(st.st_size);
}

bool makeDirectories(const std::string& path) {
    if (path.empty())
        return false;
    if (directoryExists(path))
        return true;
    std::string_view parent = dirName(path);
    if (!parent.empty() && parent != path && !directoryExists(std::string(parent)))
        makeDirectories(std::string(parent));
    return (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) && directoryExists(path);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool appendToFile(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ::close(fd) == 0 && bytes.empty();
}

bool removeTree(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    return !error && !std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::vector<std::string> listDirectory(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return names;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    while (!out.empty() && out.back() == '/' && out.size() > 1)
        out.pop_back();
    while (!name.empty() && name.front() == '/')
        name.remove_prefix(1);
    if (out.empty())
        return std::string(name);
    if (out.back() != '/')
        out.push_back('/');
    out.append(name);
    return out;
}

std::string_view baseName(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view dirName(std::string_view path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return path.substr(0, 1);
    return path.substr(0, slash);
}

} // namespace kv
