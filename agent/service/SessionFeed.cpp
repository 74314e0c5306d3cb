#include "agent/service/SessionFeed.h"

namespace kv::agent::service {

void SessionFeed::deliver(const OutputLine& line) {
    std::lock_guard lock(mutex_);
    if (overflowed_ || ended_)
        return;
    if (queue_.size() >= kMaxQueued) {
        overflowed_ = true;
        queue_.clear();
    } else {
        queue_.push_back(line);
    }
    arrived_.notify_one();
}

void SessionFeed::feedEnded() {
    std::lock_guard lock(mutex_);
    ended_ = true;
    arrived_.notify_one();
}

std::vector<OutputLine> SessionFeed::take(std::chrono::milliseconds wait, bool& over) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, wait, [&] { return !queue_.empty() || ended_ || overflowed_; });
    std::vector<OutputLine> lines(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
    queue_.clear();
    over = overflowed_ || (ended_ && lines.empty());
    return lines;
}

} // namespace kv::agent::service
