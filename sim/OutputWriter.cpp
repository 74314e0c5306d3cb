#include "sim/OutputWriter.h"

#include "sim/GameScript.h"

#include <cerrno>
#include <chrono>
#include <unistd.h>

namespace kv::sim {

namespace {
// Past this many waiting items new ones are dropped: a reader that never reads must not make us grow forever.
constexpr std::size_t kMaxQueued = 20000;
} // namespace

OutputWriter::OutputWriter(int outFd, int errFd) : outFd_(outFd), errFd_(errFd) {
    thread_ = std::thread([this] { run(); });
}

OutputWriter::~OutputWriter() {
    if (thread_.joinable()) {
        finish(std::chrono::milliseconds(2000));
        if (thread_.joinable())
            thread_.detach();
    }
}

void OutputWriter::push(Item item) {
    std::lock_guard lock(mutex_);
    if (finishing_ || queue_.size() >= kMaxQueued)
        return;
    queue_.push_back(std::move(item));
    wake_.notify_one();
}

void OutputWriter::line(const std::string& text, bool toError) { push({toError, text + "\n", 0}); }

void OutputWriter::raw(std::string bytes, bool toError) { push({toError, std::move(bytes), 0}); }

void OutputWriter::flood(int total, int rate) { push({false, {}, total, rate}); }

bool OutputWriter::finish(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    finishing_ = true;
    wake_.notify_one();
    if (!done_.wait_for(lock, timeout, [&] { return finished_; }))
        return false;
    lock.unlock();
    if (thread_.joinable())
        thread_.join();
    return true;
}

void OutputWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return finishing_ || !queue_.empty(); });
        if (queue_.empty())
            break;
        Item item = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        if (item.floodTotal > 0 && item.floodRate > 0)
            writePacedFlood(item.floodTotal, item.floodRate);
        else if (item.floodTotal > 0)
            writeFlood(item.floodTotal);
        else
            writeAll(item.toError ? errFd_ : outFd_, item.bytes);
        lock.lock();
    }
    finished_ = true;
    done_.notify_all();
}

void OutputWriter::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // nobody reads any more (EPIPE): the output is lost, the server goes on
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void OutputWriter::writeFlood(int total) {
    std::string chunk;
    for (int n = 1; n <= total; ++n) {
        chunk += floodLine(n, total);
        chunk += '\n';
        if (chunk.size() >= 65536 || n == total) {
            writeAll(outFd_, chunk);
            chunk.clear();
            std::lock_guard lock(mutex_);
            if (finishing_)
                return;
        }
    }
}

// Line n is due at n / rate seconds after the start: whatever is due is written at once, so a late reader gets a
// batch and the average rate holds; between batches the writer sleeps (and wakes for finish()).
void OutputWriter::writePacedFlood(int total, int rate) {
    using namespace std::chrono;
    const auto start = steady_clock::now();
    std::string chunk;
    for (int n = 1; n <= total;) {
        const auto now = steady_clock::now();
        const long long sent = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
        for (; n <= total && start + microseconds(static_cast<long long>(n - 1) * 1000000 / rate) <= now; ++n) {
            chunk += pacedFloodLine(n, total, sent);
            chunk += '\n';
        }
        writeAll(outFd_, chunk);
        chunk.clear();
        std::unique_lock lock(mutex_);
        const auto due = start + microseconds(static_cast<long long>(n - 1) * 1000000 / rate);
        if (n <= total && wake_.wait_until(lock, due, [&] { return finishing_; }))
            return;
        if (finishing_)
            return;
    }
}

} // namespace kv::sim
