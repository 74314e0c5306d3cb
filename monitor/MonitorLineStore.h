#pragma once

#include "monitor/MonitorSource.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace kv::monitor {

// A window's own list of lines, for windows whose lines are not kept elsewhere: the manager's local runs and remote
// feeds (their texts carry their time stamp already). Any thread may append; append() announces the new line to the
// window through a queued signal, so the window repaints on its own thread; a burst of lines is announced once.
class MonitorLineStore final : public MonitorSource {
    Q_OBJECT
public:
    explicit MonitorLineStore(bool showMemory = false, QObject* parent = nullptr);

    void append(MonitorLine line);
    void appendText(std::int64_t time, std::string text) { append({time, std::move(text), 0}); }
    // Replaces everything at once without announcing each line (tests, benchmarks).
    void assign(std::vector<MonitorLine> lines);

    std::size_t lineCount() const override;
    std::vector<MonitorLine> lines(std::size_t first, std::size_t count) const override;
    void clearLines() override;
    bool showMemory() const override { return showMemory_; }

private:
    mutable std::mutex mutex_;
    std::deque<MonitorLine> lines_;
    bool showMemory_;
    std::atomic<bool> announcePending_{false};
};

} // namespace kv::monitor
