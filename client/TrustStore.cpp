#include "client/TrustStore.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "common/UniqueFd.h"
#include "common/channel/Fingerprint.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace kv {

namespace {

constexpr const char* kFolderName = "KV Server Manager";
constexpr const char* kFileName = "known_agents";
constexpr const char* kHeading =
    "# Agents whose identity kvsm and KV Server Manager trust, one a line: HOST:PORT SHA-256-FINGERPRINT DATE\n"
    "# (kvsm remote trust, forget, known). Lines in another form are kept but never match.";
// A writer holds the lock for one read and one rename; a holder that takes longer than this is stuck.
constexpr auto kLockWait = std::chrono::seconds(5);

std::string reason() {
    return std::strerror(errno);
}

// The folder of the file, made 0700 when missing (its parents as the umask allows, like any other folder).
bool ensureFolder(const std::string& file) {
    std::string folder(dirName(file));
    if (folder.empty() || directoryExists(folder))
        return true;
    std::string parent(dirName(folder));
    if (!parent.empty() && !makeDirectories(parent))
        return false;
    return (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) && directoryExists(folder);
}

bool lockExclusively(int fd) {
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// getpwuid_r rather than getpwuid: the library's operations and monitor feeds ask on threads of their own.
std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir ||
        found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

} // namespace

TrustStore::TrustStore(std::string path) : path_(std::move(path)) {}

std::string TrustStore::defaultPath() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return joinPath(joinPath(data, kFolderName), kFileName);
    std::string home = homeFolder();
    return home.empty() ? std::string() : joinPath(joinPath(joinPath(home, ".local/share"), kFolderName), kFileName);
}

bool TrustStore::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool TrustStore::checkHost(std::string_view host) {
    if (isAcceptableTrustHost(host))
        return true;
    return fail("the host name is empty, longer than 255 bytes, or holds a blank, a control character, '#' or ':'");
}

std::optional<std::vector<std::string>> TrustStore::readLines() {
    if (path_.empty()) {
        fail("no trust file: neither XDG_DATA_HOME nor a home folder is known");
        return std::nullopt;
    }
    // Non-blocking, so that a FIFO put in its place cannot hold the caller up.
    UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return std::vector<std::string>();
        fail("the trust file " + path_ + " cannot be read: " + reason());
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        fail("the trust file " + path_ + " is not a regular file");
        return std::nullopt;
    }
    std::string text;
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fail("the trust file " + path_ + " cannot be read: " + reason());
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(n));
        if (text.size() > kMaxFileBytes) {
            fail("the trust file " + path_ + " is larger than 1 MiB, which no list of agents needs; it is not read");
            return std::nullopt;
        }
    }
    std::vector<std::string> lines;
    LineReader reader(text);
    for (std::string line; reader.next(line, kMaxFileBytes);)
        lines.push_back(std::move(line));
    return lines;
}

bool TrustStore::writeLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    if (text.size() > kMaxFileBytes)
        return fail("the trust file " + path_ + " would grow beyond 1 MiB; nothing was changed");
    std::string why;
    if (!writeFileAtomically(path_, text, &why, FlushToDisk::Yes, FileAccess::OwnerOnly))
        return fail("the trust file cannot be written: " + why);
    return true;
}

bool TrustStore::change(const std::function<bool(std::vector<std::string>&)>& edit) {
    if (!readLines()) // also refuses a file that is too large before anything is created beside it
        return false;
    if (!ensureFolder(path_))
        return fail("the folder of the trust file " + path_ + " cannot be created: " + reason());
    const std::string lockPath = path_ + ".lock";
    UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.get() < 0)
        return fail("the lock file " + lockPath + " cannot be opened: " + reason());
    if (!lockExclusively(lock.get()))
        return fail("the trust file " + path_ + " stays locked by another program (" + lockPath + ")");
    // Read again under the lock: another program may have changed the file since.
    std::optional<std::vector<std::string>> lines = readLines();
    if (!lines)
        return false;
    const bool fresh = lines->empty();
    if (!edit(*lines))
        return true;
    if (fresh)
        lines->insert(lines->begin(), kHeading);
    return writeLines(*lines);
}

bool TrustStore::find(std::string_view host, unsigned port, std::optional<TrustEntry>& found) {
    found.reset();
    if (!checkHost(host))
        return false;
    std::optional<std::vector<std::string>> lines = readLines();
    if (!lines)
        return false;
    const std::string wanted = toLowerAscii(host);
    for (const std::string& line : *lines) {
        std::optional<TrustEntry> entry = parseTrustLine(line);
        if (entry && entry->host == wanted && entry->port == port) {
            found = std::move(entry);
            break;
        }
    }
    return true;
}

bool TrustStore::list(std::vector<TrustEntry>& entries, std::size_t* unreadable) {
    entries.clear();
    std::optional<std::vector<std::string>> lines = readLines();
    if (!lines)
        return false;
    std::size_t skipped = 0;
    for (const std::string& line : *lines) {
        if (std::optional<TrustEntry> entry = parseTrustLine(line))
            entries.push_back(std::move(*entry));
        else if (std::string_view bare = trim(line); !bare.empty() && bare.front() != '#')
            ++skipped;
    }
    if (unreadable)
        *unreadable = skipped;
    return true;
}

bool TrustStore::record(std::string_view host, unsigned port, std::string_view fingerprint) {
    return store(host, port, fingerprint, nullptr);
}

bool TrustStore::recordFirst(std::string_view host, unsigned port, std::string_view fingerprint,
                             std::optional<TrustEntry>& existing) {
    return store(host, port, fingerprint, &existing);
}

bool TrustStore::store(std::string_view host, unsigned port, std::string_view fingerprint,
                       std::optional<TrustEntry>* existing) {
    if (existing)
        existing->reset();
    if (!checkHost(host))
        return false;
    if (port == 0 || port > 65535)
        return fail("the port must lie between 1 and 65535");
    TrustEntry entry{toLowerAscii(host), port, canonicalFingerprint(fingerprint), trustDateToday()};
    if (entry.fingerprint.empty())
        return fail("a SHA-256 fingerprint is 32 hexadecimal byte pairs");
    return change([&](std::vector<std::string>& lines) {
        // The entry takes the place of the first line for this agent; later ones (left by an edit) go.
        bool placed = false;
        std::vector<std::string> kept;
        for (std::string& line : lines) {
            std::optional<TrustEntry> old = parseTrustLine(line);
            if (!old || old->host != entry.host || old->port != entry.port) {
                kept.push_back(std::move(line));
            } else if (existing) {
                *existing = std::move(old);
                return false;
            } else if (!std::exchange(placed, true)) {
                kept.push_back(formatTrustLine(entry));
            }
        }
        if (!placed)
            kept.push_back(formatTrustLine(entry));
        lines = std::move(kept);
        return true;
    });
}

bool TrustStore::forget(std::string_view host, unsigned port, bool& removed) {
    removed = false;
    if (!checkHost(host))
        return false;
    const std::string wanted = toLowerAscii(host);
    return change([&](std::vector<std::string>& lines) {
        std::erase_if(lines, [&](const std::string& line) {
            std::optional<TrustEntry> entry = parseTrustLine(line);
            bool match = entry && entry->host == wanted && entry->port == port;
            removed = removed || match;
            return match;
        });
        return removed;
    });
}

} // namespace kv
