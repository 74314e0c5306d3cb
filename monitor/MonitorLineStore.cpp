#include "monitor/MonitorLineStore.h"

#include <algorithm>

namespace kv::monitor {

MonitorLineStore::MonitorLineStore(bool showMemory, QObject* parent) : MonitorSource(parent), showMemory_(showMemory) {}

void MonitorLineStore::append(MonitorLine line) {
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(line));
    }
    if (announcePending_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            announcePending_.store(false);
            emit linesChanged(true);
        },
        Qt::QueuedConnection);
}

void MonitorLineStore::assign(std::vector<MonitorLine> lines) {
    std::lock_guard lock(mutex_);
    lines_.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

std::size_t MonitorLineStore::lineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

std::vector<MonitorLine> MonitorLineStore::lines(std::size_t first, std::size_t count) const {
    std::lock_guard lock(mutex_);
    std::vector<MonitorLine> out;
    if (first >= lines_.size())
        return out;
    const std::size_t end = first + std::min(count, lines_.size() - first);
    out.reserve(end - first);
    for (std::size_t i = first; i < end; ++i)
        out.push_back(lines_[i]);
    return out;
}

void MonitorLineStore::clearLines() {
    {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }
    emit linesChanged(false);
}

} // namespace kv::monitor
