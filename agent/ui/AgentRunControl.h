#pragma once

#include "monitor/MonitorControl.h"

#include <QPointer>

namespace kv::agent {
class Agent;
class GameServerRun;
} // namespace kv::agent

namespace kv::agent::ui {

// Lets a monitor window stop the run it shows, and end it when the window closes. A window whose run has already
// been replaced (restart, crash) touches nothing.
class AgentRunControl final : public monitor::MonitorControl {
    Q_OBJECT
public:
    AgentRunControl(Agent& agent, GameServerRun* run, QObject* parent = nullptr);

    QString stopButtonText() const override;
    bool canStop() const override;
    void stopServer() override;
    void monitorClosed() override;

private:
    bool current() const;

    Agent& agent_;
    QPointer<GameServerRun> run_;
};

} // namespace kv::agent::ui
