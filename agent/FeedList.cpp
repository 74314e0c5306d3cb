#include "agent/FeedList.h"

#include <algorithm>

namespace kv::agent {

bool FeedList::add(const std::shared_ptr<FeedSink>& sink) {
    if (!sink)
        return false;
    {
        std::lock_guard lock(mutex_);
        if (!ended_) {
            sinks_.push_back(sink);
            count_.store(sinks_.size());
            return true;
        }
    }
    sink->feedEnded();
    return false;
}

void FeedList::remove(const FeedSink* sink) {
    std::lock_guard lock(mutex_);
    std::erase_if(sinks_, [&](const auto& s) { return s.get() == sink; });
    count_.store(sinks_.size());
}

void FeedList::deliver(const OutputLine& line) {
    std::lock_guard lock(mutex_);
    for (const auto& s : sinks_)
        s->deliver(line);
}

void FeedList::endAll() {
    std::vector<std::shared_ptr<FeedSink>> ended;
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        ended.swap(sinks_);
        count_.store(0);
    }
    for (const auto& s : ended)
        s->feedEnded();
}

std::size_t FeedList::size() const {
    std::lock_guard lock(mutex_);
    return sinks_.size();
}

bool FeedList::ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

} // namespace kv::agent
