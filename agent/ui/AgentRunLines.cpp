#include "agent/ui/AgentRunLines.h"

#include "agent/Agent.h"
#include "agent/GameServerRun.h"

namespace kv::agent::ui {

AgentRunLines::AgentRunLines(Agent& agent, GameServerRun* run, QObject* parent)
    : MonitorSource(parent), agent_(agent) {
    if (run)
        connect(run, &GameServerRun::outputChanged, this, [this](bool follow) { emit linesChanged(follow); });
}

std::size_t AgentRunLines::lineCount() const { return agent_.outputLines().size(); }

std::vector<monitor::MonitorLine> AgentRunLines::lines(std::size_t first, std::size_t count) const {
    std::vector<OutputLine> source = agent_.outputLines().lines(first, count);
    std::vector<monitor::MonitorLine> out;
    out.reserve(source.size());
    for (OutputLine& line : source)
        out.push_back({line.time, std::move(line.text), line.memoryK});
    return out;
}

void AgentRunLines::clearLines() { agent_.outputLines().clear(); }

bool AgentRunLines::showMemory() const { return agent_.settings().snapshot().showMemoryUsage; }

} // namespace kv::agent::ui
