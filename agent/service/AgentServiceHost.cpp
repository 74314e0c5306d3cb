#include "agent/service/AgentServiceHost.h"

#include "agent/Agent.h"
#include "agent/GameServerRun.h"
#include "agent/ServerStatus.h"

#include <QMetaObject>

#include <future>

namespace kv::agent::service {

AgentServiceHost::AgentServiceHost(Agent& agent, std::chrono::milliseconds mainThreadBound)
    : agent_(agent), bound_(mainThreadBound) {}

std::string AgentServiceHost::workDir() const {
    return agent_.environment().workDir;
}

AgentSettings AgentServiceHost::settings() const {
    return agent_.settings().snapshot();
}

void AgentServiceHost::updateSettings(const std::function<void(AgentSettings&)>& change) {
    agent_.settings().update(change);
}

std::int64_t AgentServiceHost::now() const {
    return agent_.environment().clock->nowSeconds();
}

bool AgentServiceHost::serverControl(bool start) {
    return agent_.requestServerControl(start, bound_);
}

protocol::StatusRecord AgentServiceHost::status() const {
    protocol::StatusRecord record;
    ActiveConfiguration config = agent_.activeConfiguration();
    const SupervisionState& state = agent_.state();
    record.status = statusWord(state.status());
    record.mapFile = config.map;
    record.setupName = config.name;
    record.gameAdminPassword = config.adminPassword;
    record.gamePlayerPassword = config.playerPassword;
    record.description = config.description;
    record.totalUpTimeMinutes = static_cast<std::uint32_t>(state.upTimeSeconds() / 60);
    record.serverCrashes = agent_.showFailures() ? state.crashCount() : -1;
    if (settings().showMemoryUsage) {
        MemoryFigures memory = state.memory();
        record.currentRamKiB = memory.ramK;
        record.peakRamKiB = memory.peakRamK;
        record.currentPageFileKiB = memory.pageFileK;
        record.peakPageFileKiB = memory.peakPageFileK;
    }
    return record;
}

void AgentServiceHost::accessLog(const std::string& text) {
    agent_.accessLog().append(AccessLog::stamped(now(), text));
}

void AgentServiceHost::agentLog(const std::string& text) {
    agent_.log().writeText(text);
}

bool AgentServiceHost::attachFeed(const std::shared_ptr<FeedSink>& sink, std::vector<OutputLine>& history) {
    if (agent_.shuttingDown()) {
        history = agent_.outputLines().all();
        return false;
    }
    // The run lives on the main thread: the history is taken and the feed added there, in one step, so that no
    // line falls between them.
    struct Outcome {
        std::vector<OutputLine> history;
        bool attached = false;
    };
    auto promise = std::make_shared<std::promise<Outcome>>();
    std::future<Outcome> result = promise->get_future();
    Agent* agent = &agent_;
    bool queued = QMetaObject::invokeMethod(
        &agent_,
        [agent, sink, promise] {
            Outcome outcome;
            outcome.history = agent->outputLines().all();
            GameServerRun* run = agent->run();
            outcome.attached = run && !run->closed() && run->feeds().add(sink);
            promise->set_value(std::move(outcome));
        },
        Qt::QueuedConnection);
    // Never wait for a main thread that has begun to shut down: it may never get to the request.
    auto deadline = std::chrono::steady_clock::now() + bound_;
    bool ready = false;
    while (queued && !ready && !agent_.shuttingDown() && std::chrono::steady_clock::now() < deadline)
        ready = result.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready;
    if (!ready) {
        history = agent_.outputLines().all();
        return false;
    }
    Outcome outcome = result.get();
    history = std::move(outcome.history);
    return outcome.attached;
}

void AgentServiceHost::detachFeed(const FeedSink* sink) {
    Agent* agent = &agent_;
    QMetaObject::invokeMethod(
        &agent_,
        [agent, sink] {
            for (GameServerRun* run : {agent->run(), agent->endingRun()})
                if (run)
                    run->feeds().remove(sink);
        },
        Qt::QueuedConnection);
}

} // namespace kv::agent::service
