#pragma once

#include "agent/OutputLine.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace kv::agent {

// Something that follows the game server's output live (a remote monitor feed). deliver() is called on the output
// reader's thread with the list lock held: it must only queue the line and return, never block or send.
class FeedSink {
public:
    virtual ~FeedSink() = default;
    virtual void deliver(const OutputLine& line) = 0;
    // The run that fed this sink has ended; no more lines will come.
    virtual void feedEnded() = 0;
};

// The feeds of one run, guarded by one mutex. When the run ends every registered feed is told so and the list
// refuses new ones, so that no feed ever waits on a run that is gone.
class FeedList {
public:
    // False when the run has already ended (the sink is then told feedEnded() at once).
    bool add(const std::shared_ptr<FeedSink>& sink);
    void remove(const FeedSink* sink);
    void deliver(const OutputLine& line);
    void endAll();
    std::size_t size() const;
    // Cheap test without the lock, so that the reader skips building a line for nobody.
    bool empty() const { return count_.load(std::memory_order_relaxed) == 0; }
    bool ended() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<FeedSink>> sinks_;
    bool ended_ = false;
    std::atomic<std::size_t> count_{0};
};

} // namespace kv::agent
