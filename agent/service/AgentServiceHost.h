#pragma once

#include "agent/service/RemoteServiceHost.h"

#include <chrono>

namespace kv::agent {
class Agent;
}

namespace kv::agent::service {

// The remote service's view of the running agent. Start and stop go to the main thread through the agent's
// bounded request; feeds are attached to the current run on the main thread.
class AgentServiceHost final : public RemoteServiceHost {
public:
    explicit AgentServiceHost(Agent& agent, std::chrono::milliseconds mainThreadBound = std::chrono::seconds(30));

    std::string workDir() const override;
    AgentSettings settings() const override;
    void updateSettings(const std::function<void(AgentSettings&)>& change) override;
    std::int64_t now() const override;
    bool serverControl(bool start) override;
    protocol::StatusRecord status() const override;
    void accessLog(const std::string& text) override;
    void agentLog(const std::string& text) override;
    bool attachFeed(const std::shared_ptr<FeedSink>& sink, std::vector<OutputLine>& history) override;
    void detachFeed(const FeedSink* sink) override;

private:
    Agent& agent_;
    std::chrono::milliseconds bound_;
};

} // namespace kv::agent::service
