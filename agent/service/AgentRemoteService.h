#pragma once

#include "agent/service/AgentServiceHost.h"
#include "agent/service/RemoteListener.h"

#include <QObject>

#include <memory>
#include <string>

namespace kv::agent {
class Agent;
}

namespace kv::agent::service {

// Remote control for a running agent: the agent's identity (the one kvagent loaded, else the one in the working
// folder, made there on first use), the server-role TLS context of the process over it, the listener on the settings'
// RemoteControlServerPort (on ServerIP, or every address when it is empty), and its end when the agent shuts
// down. kvagent makes one after the Agent, on the main thread, in both the windowed and the headless mode.
class AgentRemoteService : public QObject {
    Q_OBJECT
public:
    explicit AgentRemoteService(Agent& agent, QObject* parent = nullptr);
    ~AgentRemoteService() override;

    // Makes the service for `agent` and starts it; a port that cannot be used leaves it idle (see start()).
    static std::shared_ptr<AgentRemoteService> startFor(Agent& agent);

    // False when the port cannot be used; the reason is in the agent log and the agent runs on without it.
    bool start();
    // Called by the agent's aboutToShutDown as well.
    void stop();
    unsigned port() const { return listener_ ? listener_->port() : 0; }
    // The SHA-256 fingerprint of the identity the service presents; empty before start() found one.
    const std::string& fingerprint() const { return fingerprint_; }

private:
    Agent& agent_;
    AgentServiceHost host_;
    std::unique_ptr<RemoteListener> listener_;
    std::string fingerprint_;
};

} // namespace kv::agent::service
