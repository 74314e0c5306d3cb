#include "tests/support/ProgramRun.h"

#include <poll.h>
#include <unistd.h>

namespace kv::test {

ProgramRun::~ProgramRun() {
    if (process_.started()) {
        process_.kill();
        process_.waitFor(std::chrono::seconds(5));
    }
    stopReader();
}

bool ProgramRun::start(const ProcessOptions& options, std::string* error) {
    ProcessOptions merged = options;
    merged.mergeErrorIntoOutput = true;
    if (!process_.start(merged, error))
        return false;
    reader_ = std::thread([this] { readLoop(); });
    return true;
}

bool ProgramRun::start(std::vector<std::string> arguments, std::vector<std::pair<std::string, std::string>> environment,
                       std::string workingDirectory, std::string* error) {
    ProcessOptions options;
    options.arguments = std::move(arguments);
    options.environment = std::move(environment);
    options.workingDirectory = std::move(workingDirectory);
    return start(options, error);
}

void ProgramRun::readLoop() {
    int fd = process_.outputFd();
    char buffer[65536];
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                break;
        }
        // A bounded wait, so that the destructor can stop us even when someone else still holds the pipe open.
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        std::lock_guard lock(mutex_);
        if (n <= 0)
            break;
        pending_.append(buffer, static_cast<std::size_t>(n));
        std::size_t start = 0;
        for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
            std::size_t length = end - start;
            if (length > 0 && pending_[end - 1] == '\r')
                --length;
            lines_.emplace_back(pending_, start, length);
        }
        pending_.erase(0, start);
        changed_.notify_all();
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

void ProgramRun::stopReader() {
    if (!reader_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    reader_.join();
}

std::optional<std::string> ProgramRun::waitForLine(std::string_view text, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    std::optional<std::string> found;
    changed_.wait_for(lock, timeout, [&] {
        for (; searchFrom_ < lines_.size(); ++searchFrom_) {
            if (lines_[searchFrom_].find(text) != std::string::npos) {
                found = lines_[searchFrom_++];
                return true;
            }
        }
        return ended_;
    });
    return found;
}

bool ProgramRun::hasLine(std::string_view text) const {
    std::lock_guard lock(mutex_);
    for (const auto& line : lines_)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

bool ProgramRun::waitForLineCount(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return lines_.size() >= count || ended_; }) &&
           lines_.size() >= count;
}

std::optional<int> ProgramRun::waitForExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    auto status = process_.waitFor(timeout);
    if (!status)
        return std::nullopt;
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [&] { return ended_; });
    return status;
}

std::vector<std::string> ProgramRun::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::size_t ProgramRun::lineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

std::string ProgramRun::pendingText() const {
    std::lock_guard lock(mutex_);
    return pending_;
}

std::string ProgramRun::output() const {
    std::lock_guard lock(mutex_);
    std::string text;
    for (const auto& line : lines_)
        text.append(line).append("\n");
    return text + pending_;
}

bool ProgramRun::outputEnded() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

} // namespace kv::test
