#include "agent/service/FileTransfers.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/UniqueFd.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/ProtocolWords.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kv::agent::service {

namespace {

constexpr std::size_t kWriteBatch = 256 * 1024;

// The file to send, opened only directly below its folder: a link in its place (planted by whoever can write
// into the game folder) is never followed, and a FIFO cannot hold the session up.
class ReadFile {
public:
    explicit ReadFile(const std::string& path) {
        UniqueFd folder(::open(std::string(dirName(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.valid())
            fd_.reset(::openat(folder.get(), std::string(baseName(path)).c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    }
    // The size of a regular file, or -1.
    long long size() const {
        struct stat info {};
        return fd_.valid() && ::fstat(fd_.get(), &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
    }
    // Fills `count` bytes from `offset`; what the file no longer has (it shrank meanwhile) is sent as zeros, so
    // that the framing the client counts on stays intact.
    void read(char* buffer, int count, long long offset) const {
        int got = 0;
        while (got < count) {
            ssize_t n = ::pread(fd_.get(), buffer + got, static_cast<size_t>(count - got), offset + got);
            if (n <= 0)
                break;
            got += static_cast<int>(n);
        }
        std::memset(buffer + got, 0, static_cast<size_t>(count - got));
    }

private:
    UniqueFd fd_;
};

} // namespace

bool sendLine(CCommAsyncSocket& connection, const std::string& text) {
    std::string line = text + "\n";
    return connection.SendAll(line) == static_cast<int>(line.size());
}

bool sendFile(CCommAsyncSocket& connection, const std::string& path, int ackCapacity) {
    ReadFile file(path);
    long long size = file.size();
    if (size < 0)
        size = 0; // missing or not a regular file
    // The size line carries 31 bits. A larger file is announced as -1, which no client can take for a missing
    // file (for a setup that would remove its configuration); nothing follows and the session ends.
    if (size > 0x7fffffffLL) {
        connection.SendAll(protocol::formatSizeLine(-1));
        return false;
    }
    if (connection.SendAll(protocol::formatSizeLine(size)) < 0)
        return false;
    std::vector<char> block(protocol::kBlockSize);
    std::string ack;
    for (long long sent = 0; sent < size;) {
        int count = protocol::nextBlockSize(size, sent);
        file.read(block.data(), count, sent);
        if (connection.SendAll(block.data(), count) < 0 || connection.ReceiveWholeLine(ack, ackCapacity) < 0)
            return false;
        sent += count;
    }
    return true;
}

ReceiveResult receiveFile(CCommAsyncSocket& connection, const std::string& path, const char* readyMarker,
                          const char* endMarker) {
    AtomicFile file(path);
    if (!file.open()) {
        sendLine(connection, protocol::kAbortSend);
        return ReceiveResult::NotOpened;
    }
    return receiveFile(connection, file, nullptr, readyMarker, endMarker);
}

ReceiveResult receiveFile(CCommAsyncSocket& connection, AtomicFile& file, AtomicFile* companion,
                          const char* readyMarker, const char* endMarker) {
    if (!sendLine(connection, readyMarker))
        return ReceiveResult::Broken;
    std::string line;
    std::string pending;
    long long received = 0;
    bool writable = true;
    // File lines longer than a piece come in pieces, each stored as a line: that is the upload format.
    while (connection.ReceiveLine(line, protocol::kUploadLineCapacity) >= 0) {
        if (protocol::isEndMarker(line, endMarker)) {
            bool stored = writable && file.write(pending) && file.commit() && (!companion || companion->commit());
            sendLine(connection, stored ? protocol::kGoodSend : protocol::kAbortSend);
            return stored ? ReceiveResult::Stored : ReceiveResult::NotStored;
        }
        received += static_cast<long long>(line.size()) + 1;
        if (received > kMaxUploadBytes) {
            sendLine(connection, protocol::kAbortSend);
            return ReceiveResult::TooLarge;
        }
        pending += line;
        pending += '\n';
        if (pending.size() >= kWriteBatch) {
            // After a failed write keep reading to the end marker, so that the rest is not taken for requests.
            writable = writable && file.write(pending);
            pending.clear();
        }
    }
    return ReceiveResult::Broken;
}

} // namespace kv::agent::service
