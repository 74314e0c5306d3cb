#include "agent/service/AgentRemoteService.h"

#include "agent/AdminPassword.h"
#include "agent/Agent.h"
#include "agent/service/AgentFilePaths.h"
#include "common/AtomicFile.h"
#include "common/Format.h"
#include "common/Files.h"
#include "common/channel/AgentIdentity.h"

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
    std::optional<AgentIdentity> identity = agent_.environment().identity;
    if (!identity) {
        std::string problem = agent_.environment().identityProblem;
        bool created = false;
        if (problem.empty())
            identity = loadOrCreateAgentIdentity(joinPath(agent_.environment().workDir, kAgentIdentityFileName), "",
                                                 &created, &problem);
        if (!identity) {
            // Without its own key the agent cannot prove who it is, so it serves nothing rather than anything.
            const std::string text = "Remote control is off: " + problem;
            host_.agentLog(text);
            host_.accessLog(text);
            return false;
        }
        if (created)
            host_.agentLog("Made a new agent identity, SHA-256 fingerprint " + identity->fingerprint);
    }
    fingerprint_ = identity->fingerprint;
    int result = SslSetupOk;
    std::shared_ptr<SslContext> context = SslContext::create(SslRole::Server, identity->keys, &result);
    if (!context) {
        // A listener without a context would talk in clear.
        agent_.log().write("SSL set-up failed: %d", result);
        return false;
    }
    AgentSettings settings = agent_.settings().snapshot();
    RemoteListener::Options options;
    options.address = settings.serverIp;
    options.port = static_cast<unsigned>(settings.remoteControlServerPort);
    // Uploads that an earlier run did not finish; no session runs yet that could be writing them.
    const AgentFilePaths files(agent_.environment().workDir, settings.gameServerPath);
    removeStaleTemporaryFiles(files.configurationsFolder());
    removeStaleTemporaryFiles(files.setupsFolder());
    auto listener = std::make_unique<RemoteListener>(host_, std::move(context));
    if (!listener->start(options))
        return false;
    listener_ = std::move(listener);
    if (!admin_password::usableForRemoteLogin(settings.md5Password)) {
        // Said where the administrator looks: the window's list and the headless output show the access log.
        const std::string warning = "Remote logins are refused: no administrator password is set (or it is the "
                                    "well-known default). Set one in the Options dialog, or stop the agent and "
                                    "run kvagent --set-password.";
        host_.accessLog(warning);
        host_.agentLog(warning + "\n");
    }
    return true;
}

void AgentRemoteService::stop() {
    if (listener_)
        listener_->stop();
}

} // namespace kv::agent::service
