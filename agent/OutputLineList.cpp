#include "agent/OutputLineList.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace kv::agent {

namespace {
// Large enough for the longest line the reader keeps (16,382 characters) many times over.
constexpr std::size_t kBlockSize = 256 * 1024;
constexpr std::size_t kLengthBytes = sizeof(std::uint16_t);
// Longer texts are cut; the reader's lines stay below 16,383 characters anyway.
constexpr std::size_t kMaxText = UINT16_MAX;
} // namespace

std::size_t OutputLineList::lengthOf(const Entry& e) {
    std::uint16_t length;
    std::memcpy(&length, e.text - kLengthBytes, kLengthBytes);
    return length;
}

std::string_view OutputLineList::textOf(const Entry& e) { return {e.text, lengthOf(e)}; }

OutputLine OutputLineList::recordOf(const Entry& e) const {
    return {timeOf(e), std::string(textOf(e)), e.memoryK};
}

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

std::size_t OutputLineList::byteLimit() const {
    // A setting of 0 or less keeps the newest line alone, as the line bound does; give it room for one.
    return static_cast<std::size_t>(std::max(maxK_, 1LL)) * kBytesPerK;
}

const char* OutputLineList::store(std::string_view text) {
    const std::size_t need = text.size() + kLengthBytes;
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < need) {
        Block b;
        b.capacity = std::max(kBlockSize, need);
        b.data = std::make_unique<char[]>(b.capacity);
        blocks_.push_back(std::move(b));
    }
    Block& b = blocks_.back();
    const auto length = static_cast<std::uint16_t>(text.size());
    std::memcpy(b.data.get() + b.used, &length, kLengthBytes);
    char* at = b.data.get() + b.used + kLengthBytes;
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    b.used += need;
    ++b.lines;
    return at;
}

void OutputLineList::dropOldest(std::size_t count) {
    count = std::min(count, entries_.size());
    for (std::size_t i = 0; i < count; ++i) {
        textBytes_ -= lengthOf(entries_.front());
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
    appendLocked(time, text, memoryK);
    return entries_.size();
}

std::size_t OutputLineList::append(const LineRef* lines, std::size_t count) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < count; ++i)
        appendLocked(lines[i].time, lines[i].text, lines[i].memoryK);
    return entries_.size();
}

void OutputLineList::appendLocked(std::int64_t time, std::string_view text, std::int32_t memoryK) {
    if (entries_.size() > limit())
        dropOldest(entries_.size() < kTrimCount ? entries_.size() : kTrimCount);
    const std::size_t bytes = byteLimit();
    text = text.substr(0, std::min(kMaxText, bytes));
    while (textBytes_ + text.size() > bytes)
        dropOldest(kTrimCount);
    if (entries_.empty())
        timeBase_ = time;
    const std::int64_t delta = std::clamp<std::int64_t>(time - timeBase_, INT32_MIN, INT32_MAX);
    const char* stored = store(text);
    entries_.push_back({stored, static_cast<std::int32_t>(delta), memoryK});
    textBytes_ += text.size();
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
    for (std::size_t i = first; i < last; ++i)
        out.push_back(recordOf(entries_[i]));
    return out;
}

bool OutputLineList::newest(OutputLine& out) const {
    std::lock_guard lock(mutex_);
    if (entries_.empty())
        return false;
    out = recordOf(entries_.back());
    return true;
}

void OutputLineList::forEach(
    const std::function<void(std::int64_t, std::string_view, std::int32_t)>& fn) const {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        fn(timeOf(e), textOf(e), e.memoryK);
}

} // namespace kv::agent
