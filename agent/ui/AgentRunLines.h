#pragma once

#include "monitor/MonitorSource.h"

namespace kv::agent {
class Agent;
class GameServerRun;
} // namespace kv::agent

namespace kv::agent::ui {

// The agent's output line list as a monitor window sees it, announcing the output of one run.
class AgentRunLines final : public monitor::MonitorSource {
    Q_OBJECT
public:
    AgentRunLines(Agent& agent, GameServerRun* run, QObject* parent = nullptr);

    std::size_t lineCount() const override;
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override;
    void clearLines() override;
    bool showMemory() const override;

private:
    Agent& agent_;
};

} // namespace kv::agent::ui
