#include "agent/OutputLineList.h"

#include <algorithm>
#include <cstring>

namespace kv::agent {

namespace {
// Large enough for the longest line the reader keeps (16,382 characters) many times over.
constexpr std::size_t kBlockSize = 256 * 1024;
} // namespace

OutputLineList::OutputLineList(int maxConsoleLoggingRamInK, QObject* parent)
    : QObject(parent), maxK_(maxConsoleLoggingRamInK) {}

OutputLineList::~OutputLineList() = default;

void OutputLineList::setMaxConsoleLoggingRamInK(int k) {
    std::lock_guard lock(mutex_);
    maxK_ = k;
}

std::size_t OutputLineList::limit() const {
    return maxK_ <= 0 ? 0 : static_cast<std::size_t>(maxK_) * kLinesPerK;
}

const char* OutputLineList::store(std::string_view text) {
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < text.size()) {
        Block b;
        b.capacity = std::max(kBlockSize, text.size());
        b.data = std::make_unique<char[]>(b.capacity);
        blocks_.push_back(std::move(b));
    }
    Block& b = blocks_.back();
    char* at = b.data.get() + b.used;
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    b.used += text.size();
    ++b.lines;
    return at;
}

void OutputLineList::dropOldest(std::size_t count) {
    count = std::min(count, entries_.size());
    for (std::size_t i = 0; i < count; ++i) {
        textBytes_ -= entries_.front().length;
        entries_.pop_front();
        // Lines were stored in order, so the oldest line lives in the first block that still holds any.
        while (!blocks_.empty() && blocks_.front().lines == 0)
            blocks_.pop_front();
        if (!blocks_.empty())
            --blocks_.front().lines;
    }
    while (!blocks_.empty() && blocks_.front().lines == 0 && blocks_.size() > 1)
        blocks_.pop_front();
    if (entries_.empty()) {
        blocks_.clear();
        entries_.shrink_to_fit();
    }
}

std::size_t OutputLineList::append(std::int64_t time, std::string_view text, std::int32_t memoryK) {
    std::lock_guard lock(mutex_);
    if (entries_.size() > limit())
        dropOldest(entries_.size() < kTrimCount ? entries_.size() : kTrimCount);
    text = text.substr(0, UINT32_MAX);
    const char* stored = store(text);
    entries_.push_back({time, stored, static_cast<std::uint32_t>(text.size()), memoryK});
    textBytes_ += text.size();
    return entries_.size();
}

void OutputLineList::clear() {
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        entries_.shrink_to_fit();
        blocks_.clear();
        textBytes_ = 0;
    }
    emit cleared();
}

std::size_t OutputLineList::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t OutputLineList::textBytes() const {
    std::lock_guard lock(mutex_);
    return textBytes_;
}

std::vector<OutputLine> OutputLineList::lines(std::size_t first, std::size_t count) const {
    std::lock_guard lock(mutex_);
    std::vector<OutputLine> out;
    if (first >= entries_.size())
        return out;
    std::size_t last = entries_.size() - first < count ? entries_.size() : first + count;
    out.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        const Entry& e = entries_[i];
        out.push_back({e.time, std::string(e.text, e.length), e.memoryK});
    }
    return out;
}

bool OutputLineList::newest(OutputLine& out) const {
    std::lock_guard lock(mutex_);
    if (entries_.empty())
        return false;
    const Entry& e = entries_.back();
    out = {e.time, std::string(e.text, e.length), e.memoryK};
    return true;
}

void OutputLineList::forEach(
    const std::function<void(std::int64_t, std::string_view, std::int32_t)>& fn) const {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        fn(e.time, std::string_view(e.text, e.length), e.memoryK);
}

} // namespace kv::agent
