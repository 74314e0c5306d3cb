#include "agent/service/RemoteSession.h"

#include "common/protocol/Login.h"
#include "common/protocol/ProtocolWords.h"

#include <poll.h>
#include <sys/socket.h>

namespace kv::agent::service {

RemoteSession::RemoteSession(std::unique_ptr<CCommAsyncSocket> connection, std::string peerAddress,
                             RemoteServiceHost& host, SessionLimits limits)
    : connection_(std::move(connection)), peer_(std::move(peerAddress)), host_(host), limits_(limits) {}

RemoteSession::~RemoteSession() = default;

void RemoteSession::run() noexcept {
    try {
        serve();
    } catch (const std::exception& e) {
        try {
            host_.agentLog(std::string("Remote session from ") + peer_ + " ended: " + e.what());
        } catch (...) {
        }
    } catch (...) {
    }
    // Let the client read the last reply and close first; then close this end. After its logout there is
    // nothing left to read.
    if (connection_->IsOpen() && !clientLeft_) {
        pollfd closed{connection_->Handle(), POLLIN, 0};
        ::poll(&closed, 1, static_cast<int>(limits_.closeLinger.count()));
    }
    std::lock_guard lock(connectionMutex_);
    connection_->Close();
}

void RemoteSession::abort() {
    std::lock_guard lock(connectionMutex_);
    if (connection_->IsOpen())
        ::shutdown(connection_->Handle(), SHUT_RDWR);
}

bool RemoteSession::readLine(std::string& line, int capacity) {
    return connection_->ReceiveLine(line, capacity) >= 0;
}

bool RemoteSession::send(const std::string& line) {
    std::string out = line + "\n";
    return connection_->SendAll(out) == static_cast<int>(out.size());
}

void RemoteSession::log(const char* what) {
    host_.accessLog(std::string(what) + peer_);
}

AgentFilePaths RemoteSession::paths() const {
    return AgentFilePaths(host_.workDir(), host_.settings().gameServerPath);
}

void RemoteSession::serve() {
    connection_->SetReplyTimeout(limits_.loginTimeout);
    std::string line;
    // A failed read or an empty line ends the session.
    while (connection_->ReceiveLine(line, protocol::kRequestLineCapacity) > 0) {
        if (!loggedIn_) {
            if (protocol::isLoginRequest(line) && !login())
                return;
            continue;
        }
        std::optional<protocol::Request> request = protocol::matchRequest(line);
        if (request == protocol::Request::Logout) {
            clientLeft_ = true;
            return;
        }
        if (request && !handle(*request))
            return;
    }
}

bool RemoteSession::login() {
    std::string name, password;
    if (!readLine(name, protocol::kLoginFieldCapacity) || !readLine(password, protocol::kLoginFieldCapacity))
        return false;
    AgentSettings settings = host_.settings();
    protocol::LoginVerdict verdict = protocol::checkLogin(name, password, settings.adminName, settings.md5Password);
    if (verdict != protocol::LoginVerdict::Accepted) {
        host_.accessLog("Access Rejected from IP " + peer_ + " (" + protocol::loginRejectionReason(verdict) + "):");
        connection_->SendAll(&protocol::kLoginRejected, 1);
        return false;
    }
    if (connection_->SendAll(&protocol::kLoginAccepted, 1) != 1)
        return false;
    loggedIn_ = true;
    connection_->SetReplyTimeout(limits_.idleTimeout);
    return true;
}

} // namespace kv::agent::service
