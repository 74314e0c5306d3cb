#include "manager/ui/LocalRunSource.h"

#include "manager/local/LocalRun.h"

namespace kv::manager::ui {

LocalRunSource::LocalRunSource(local::LocalRun& run, QObject* parent) : MonitorSource(parent), run_(run) {
    connect(&run, &local::LocalRun::linesChanged, this, [this](bool follow) { emit linesChanged(follow); });
}

std::size_t LocalRunSource::lineCount() const {
    return run_.lines().size();
}

std::vector<monitor::MonitorLine> LocalRunSource::lines(std::size_t first, std::size_t count) const {
    std::vector<local::LocalLine> stored = run_.lines().lines(first, count);
    std::vector<monitor::MonitorLine> out;
    out.reserve(stored.size());
    for (local::LocalLine& line : stored)
        out.push_back({line.time, std::move(line.text), 0});
    return out;
}

void LocalRunSource::clearLines() {
    run_.lines().clear();
    emit linesChanged(false);
}

} // namespace kv::manager::ui
