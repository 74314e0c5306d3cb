#include "agent/service/FileTransfers.h"

#include "common/AtomicFile.h"
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

// Closes the descriptor when the transfer ends.
class ReadFile {
public:
    explicit ReadFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ~ReadFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    // The size of a regular file, or -1.
    long long size() const {
        struct stat info {};
        return fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
    }
    // Fills `count` bytes from `offset`; what the file no longer has (it shrank meanwhile) is sent as zeros, so
    // that the framing the client counts on stays intact.
    void read(char* buffer, int count, long long offset) const {
        int got = 0;
        while (got < count) {
            ssize_t n = ::pread(fd_, buffer + got, static_cast<size_t>(count - got), offset + got);
            if (n <= 0)
                break;
            got += static_cast<int>(n);
        }
        std::memset(buffer + got, 0, static_cast<size_t>(count - got));
    }

private:
    int fd_;
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
        if (connection.SendAll(block.data(), count) < 0 || connection.ReceiveLine(ack, ackCapacity) < 0)
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
    if (!sendLine(connection, readyMarker))
        return ReceiveResult::Broken;
    std::string line;
    std::string pending;
    while (connection.ReceiveLine(line, protocol::kUploadLineCapacity) >= 0) {
        if (protocol::isEndMarker(line, endMarker)) {
            bool stored = file.write(pending) && file.commit();
            sendLine(connection, stored ? protocol::kGoodSend : protocol::kAbortSend);
            return stored ? ReceiveResult::Stored : ReceiveResult::NotStored;
        }
        pending += line;
        pending += '\n';
        if (pending.size() >= kWriteBatch) {
            if (!file.write(pending)) {
                // Keep reading to the end marker so that the rest of the file is not taken for requests.
                pending.clear();
                continue;
            }
            pending.clear();
        }
    }
    file.discard();
    return ReceiveResult::Broken;
}

} // namespace kv::agent::service
