#include "agent/ui/AgentRunControl.h"

#include "agent/Agent.h"
#include "agent/GameServerRun.h"

namespace kv::agent::ui {

AgentRunControl::AgentRunControl(Agent& agent, GameServerRun* run, QObject* parent)
    : MonitorControl(parent), agent_(agent), run_(run) {
    if (run)
        connect(run, &GameServerRun::stopStateChanged, this, [this] { emit stateChanged(); });
}

bool AgentRunControl::current() const { return run_ && agent_.run() == run_.data(); }

QString AgentRunControl::stopButtonText() const {
    return QString::fromUtf8(run_ ? run_->stopButtonText() : "Server Stopped");
}

bool AgentRunControl::canStop() const { return current() && !run_->stopping() && !run_->closed(); }

void AgentRunControl::stopServer() {
    if (current())
        agent_.serverControl(false);
}

void AgentRunControl::monitorClosed() {
    if (current())
        agent_.closeRun();
}

} // namespace kv::agent::ui
