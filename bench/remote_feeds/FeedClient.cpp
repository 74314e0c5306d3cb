#include "FeedClient.h"

#include "common/DecimalNumber.h"

#include <chrono>

FeedClient::FeedClient(const std::string& address, const kv::RemoteControlOptions& options, int total)
    : client_(address, "admin", "secret", options), total_(total) {
    delays_.reserve(static_cast<std::size_t>(total));
}

bool FeedClient::start() {
    thread_.reset(client_.StartMonitor(this, &lines_));
    if (!thread_)
        return false;
    thread_->resume();
    return true;
}

void FeedClient::lineAdded() {
    const double now =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    for (const std::string& line : lines_.takeAll())
        examine(line, now);
}

void FeedClient::feedFailed(std::string text) {
    std::lock_guard lock(mutex_);
    if (fault_.empty())
        fault_ = "the feed did not start: " + text;
}

void FeedClient::examine(const std::string& line, double receivedSeconds) {
    ++linesSeen_;
    std::size_t at = line.find("Flood line ");
    std::size_t sent = line.find(", sent at ");
    if (at == std::string::npos || sent == std::string::npos)
        return;
    const long long n = kv::parseDecimalLong(std::string_view(line).substr(at + 11));
    std::lock_guard lock(mutex_);
    if (n != expected_ && fault_.empty())
        fault_ = "expected flood line " + std::to_string(expected_) + ", got " + std::to_string(n);
    expected_ = static_cast<int>(n) + 1;
    delays_.push_back((receivedSeconds - kv::parseDecimalDouble(std::string_view(line).substr(sent + 10))) * 1e6);
    ++floodSeen_;
}

std::string FeedClient::fault() const {
    std::lock_guard lock(mutex_);
    if (!fault_.empty())
        return fault_;
    if (expected_ != total_ + 1)
        return "the last flood line was " + std::to_string(expected_ - 1) + " of " + std::to_string(total_);
    return {};
}
