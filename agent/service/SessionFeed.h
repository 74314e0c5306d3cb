#pragma once

#include "agent/FeedList.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace kv::agent::service {

// A session's place in the run's feed list: the output reader queues each new line here (never blocking), and the
// session thread takes them off to send. A client too slow to keep up is cut off rather than letting the queue
// grow without bound.
class SessionFeed final : public FeedSink {
public:
    static constexpr std::size_t kMaxQueued = 20000;

    void deliver(const OutputLine& line) override;
    void feedEnded() override;

    // Waits up to `wait` for lines and takes them. `over` becomes true once the run has ended (after its last
    // lines were taken) or the queue overflowed.
    std::vector<OutputLine> take(std::chrono::milliseconds wait, bool& over);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<OutputLine> queue_;
    bool ended_ = false;
    bool overflowed_ = false;
};

} // namespace kv::agent::service
