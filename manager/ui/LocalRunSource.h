#pragma once

#include "monitor/MonitorSource.h"

#include <QPointer>

namespace kv::manager::local {
class LocalRun;
}

namespace kv::manager::ui {

// The lines of a local run as its monitor window sees them. The run outlives the window (LocalMonitors sees to it).
class LocalRunSource final : public monitor::MonitorSource {
    Q_OBJECT
public:
    explicit LocalRunSource(local::LocalRun& run, QObject* parent = nullptr);

    std::size_t lineCount() const override;
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override;
    void clearLines() override;
    bool showMemory() const override { return false; }

private:
    local::LocalRun& run_;
};

} // namespace kv::manager::ui
