#include "manager/local/LocalRunLines.h"

#include <algorithm>

namespace kv::manager::local {

LocalRunLines::LocalRunLines(int maxK)
    : maxLines_(static_cast<std::size_t>(std::max(maxK, 1)) * kLinesPerK),
      maxBytes_(static_cast<std::size_t>(std::max(maxK, 1)) * kBytesPerK) {}

void LocalRunLines::dropOldest() {
    const std::size_t count = std::min(kTrimCount, lines_.size());
    for (std::size_t i = 0; i < count; ++i)
        bytes_ -= lines_[i].text.size();
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
}

void LocalRunLines::appendLocked(LocalLine&& line) {
    if (lines_.size() > maxLines_)
        dropOldest();
    while (!lines_.empty() && bytes_ + line.text.size() > maxBytes_)
        dropOldest();
    bytes_ += line.text.size();
    lines_.push_back(std::move(line));
}

void LocalRunLines::append(std::vector<LocalLine>&& lines) {
    const std::lock_guard lock(mutex_);
    for (LocalLine& line : lines)
        appendLocked(std::move(line));
}

void LocalRunLines::append(LocalLine line) {
    const std::lock_guard lock(mutex_);
    appendLocked(std::move(line));
}

void LocalRunLines::clear() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
    bytes_ = 0;
}

std::size_t LocalRunLines::size() const {
    const std::lock_guard lock(mutex_);
    return lines_.size();
}

std::size_t LocalRunLines::textBytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

std::vector<LocalLine> LocalRunLines::lines(std::size_t first, std::size_t count) const {
    const std::lock_guard lock(mutex_);
    std::vector<LocalLine> out;
    if (first >= lines_.size())
        return out;
    const std::size_t end = first + std::min(count, lines_.size() - first);
    out.assign(lines_.begin() + static_cast<std::ptrdiff_t>(first), lines_.begin() + static_cast<std::ptrdiff_t>(end));
    return out;
}

} // namespace kv::manager::local
