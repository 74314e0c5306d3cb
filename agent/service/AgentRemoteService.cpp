#include "agent/service/AgentRemoteService.h"

#include "agent/Agent.h"
#include "common/Format.h"
#include "common/channel/KeyMaterial.h"

namespace kv::agent::service {

AgentRemoteService::AgentRemoteService(Agent& agent, QObject* parent) : QObject(parent), agent_(agent), host_(agent) {
    connect(&agent_, &Agent::aboutToShutDown, this, &AgentRemoteService::stop);
}

AgentRemoteService::~AgentRemoteService() {
    stop();
}

std::shared_ptr<AgentRemoteService> AgentRemoteService::startFor(Agent& agent) {
    auto service = std::make_shared<AgentRemoteService>(agent);
    service->start();
    return service;
}

bool AgentRemoteService::start() {
    if (listener_)
        return true;
    // When the context cannot be made the listener still runs and every handshake fails, as the log then says.
    int result = InitSslContext(SslRole::Server, serverKeyMaterial());
    if (result != SslSetupOk)
        agent_.log().write("SSL set-up failed: %d", result);
    AgentSettings settings = agent_.settings().snapshot();
    RemoteListener::Options options;
    options.address = settings.serverIp;
    options.port = static_cast<unsigned>(settings.remoteControlServerPort);
    auto listener = std::make_unique<RemoteListener>(host_, processSslContext());
    if (!listener->start(options))
        return false;
    listener_ = std::move(listener);
    return true;
}

void AgentRemoteService::stop() {
    if (listener_)
        listener_->stop();
}

} // namespace kv::agent::service
