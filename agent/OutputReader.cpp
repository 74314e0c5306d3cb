#include "agent/OutputReader.h"

#include "agent/AgentLog.h"
#include "agent/FeedList.h"
#include "agent/OutputFormats.h"

#include "common/Files.h"
#include "common/Format.h"
#include "agent/OutputLineList.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kv::agent {

namespace {
constexpr std::size_t kReadSize = 64 * 1024;
constexpr std::string_view kRunningMarker = "Game engine initialized";

} // namespace

OutputReader::OutputReader(int fd, Targets targets) : fd_(fd), t_(std::move(targets)) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    current_.reserve(256);
    if (!t_.runningLogPath.empty())
        logBytes_ = static_cast<std::uint64_t>(fileSize(t_.runningLogPath).value_or(0));
    thread_ = std::thread([this] { run(); });
}

OutputReader::~OutputReader() {
    stop();
    if (thread_.joinable())
        thread_.join();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

void OutputReader::stop() {
    stopping_.store(true);
    if (wakeFd_ >= 0) {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void OutputReader::run() {
    try {
        std::unique_ptr<char[]> buffer = std::make_unique<char[]>(kReadSize);
        while (!stopping_.load()) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
            int ready = ::poll(fds, wakeFd_ >= 0 ? 2 : 1, -1);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (fds[1].revents != 0 || stopping_.load())
                break;
            ssize_t n = ::read(fd_, buffer.get(), kReadSize);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                break; // the game server has ended and the pipe is closed
            if (!overflowed_.load())
                consume(buffer.get(), static_cast<std::size_t>(n));
        }
    } catch (...) {
        // Out of memory while storing a line: capture ends, supervision goes on.
    }
    ::close(fd_);
    fd_ = -1;
    finished_.store(true);
    if (t_.finished)
        t_.finished();
}

bool OutputReader::overflow() {
    overflowed_.store(true);
    current_.clear();
    current_.shrink_to_fit();
    if (t_.log)
        t_.log->write("Server output capture ended: a line reached %zu characters without a line end\n", kMaxLine);
    return false;
}

void OutputReader::consume(const char* data, std::size_t size) {
    const std::int64_t now = t_.clock->nowSeconds();
    if (t_.settings)
        t_.showMemory = t_.settings->snapshot().showMemoryUsage;
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* segmentEnd = newline ? newline : end;
        std::string_view segment(p, static_cast<std::size_t>(segmentEnd - p));
        // Most lines arrive whole and clean: they are taken straight from the read buffer.
        std::string_view clean = segment;
        if (!clean.empty() && clean.back() == '\r')
            clean.remove_suffix(1);
        const bool plain = clean.find_first_of("\t\r") == std::string_view::npos;
        if (newline && current_.empty() && plain) {
            if (clean.size() >= kMaxLine) {
                overflow();
                break;
            }
            completeLine(now, clean);
        } else {
            for (char c : segment) {
                if (c == '\t' || c == '\r')
                    continue;
                current_.push_back(c);
                if (current_.size() >= kMaxLine)
                    break;
            }
            if (current_.size() >= kMaxLine) {
                overflow();
                break;
            }
            if (newline) {
                held_.push_back(current_);
                completeLine(now, held_.back());
                current_.clear();
            }
        }
        p = newline ? newline + 1 : end;
    }
    flushBatch();
}

void OutputReader::completeLine(std::int64_t now, std::string_view text) {
    const std::int32_t ramK = t_.state->currentRamK();
    batch_.push_back({now, text, ramK});
    if (t_.state->status() != ServerStatus::Running && text.find(kRunningMarker) != std::string_view::npos)
        t_.state->markRunning(now);
    if (!t_.runningLogPath.empty() && !logCut_) {
        if (now != stampSecond_) {
            stampSecond_ = now;
            stamp_ = output_formats::timeStamp(now);
        }
        const std::size_t before = logBatch_.size();
        output_formats::appendRunningLogLine(logBatch_, stamp_, ramK, t_.showMemory, text);
        if (logBytes_ + logBatch_.size() > t_.runningLogLimit) {
            // A server that floods its output must not fill the disk.
            logBatch_.resize(before);
            output_formats::appendRunningLogLine(
                logBatch_, stamp_, 0, false,
                format("Running log cut: it reached %llu bytes; the rest of this run's output is not written here",
                       static_cast<unsigned long long>(t_.runningLogLimit)));
            logCut_ = true;
        }
    }
    if (t_.feeds && !t_.feeds->empty())
        t_.feeds->deliver({now, std::string(text), ramK});
    linesRead_.fetch_add(1, std::memory_order_relaxed);
}

void OutputReader::flushBatch() {
    if (!logBatch_.empty()) {
        appendToFile(t_.runningLogPath, logBatch_);
        logBytes_ += logBatch_.size();
        logBatch_.clear();
    }
    if (batch_.empty())
        return;
    t_.lines->append(batch_.data(), batch_.size());
    batch_.clear();
    held_.clear();
    if (t_.linesAdded && !notifyPending_.exchange(true))
        t_.linesAdded();
}

} // namespace kv::agent
