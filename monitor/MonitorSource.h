#pragma once

#include "monitor/MonitorLine.h"

#include <QObject>

#include <cstddef>
#include <vector>

namespace kv::monitor {

// Where a monitor window takes its lines from: the agent's output line list, the manager's per-window line store of
// a local run, or the lines of a remote feed. Any thread may add lines; the window reads on its own thread, so an
// implementation guards its list itself.
class MonitorSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~MonitorSource() override = default;

    virtual std::size_t lineCount() const = 0;
    // Copies of lines [first, first + count), cut at the end of the list.
    virtual std::vector<MonitorLine> lines(std::size_t first, std::size_t count) const = 0;
    virtual void clearLines() = 0;
    // Draw and save each line with its time stamp and memory figure.
    virtual bool showMemory() const = 0;

signals:
    // New lines (or the list was emptied); follow = scroll to the end. Emitted on the window's thread.
    void linesChanged(bool follow);
};

} // namespace kv::monitor
