#include "agent/service/RemoteSession.h"

#include "agent/AdminPassword.h"
#include "agent/service/LoginLogLines.h"
#include "common/Format.h"
#include "common/protocol/Login.h"
#include "common/protocol/ProtocolWords.h"

#include <poll.h>
#include <sys/socket.h>

namespace kv::agent::service {

namespace {
// Reasons of the agent's own refusals, beside the protocol's "Bad Admin Name" and "Bad PW".
constexpr const char* kTooManyAttempts = "Too Many Attempts";
constexpr const char* kNoPasswordSet = "No Password Set";
constexpr const char* kTooManySessions = "Too Many Sessions";
} // namespace

RemoteSession::RemoteSession(std::unique_ptr<CCommAsyncSocket> connection, std::string peerAddress,
                             RemoteServiceHost& host, LoginThrottle& throttle, SessionLimits limits,
                             LoggedInSlots* slots)
    : connection_(std::move(connection)), peer_(std::move(peerAddress)), host_(host), throttle_(throttle),
      limits_(limits), slots_(slots) {}

RemoteSession::~RemoteSession() = default;

void RemoteSession::run() noexcept {
    try {
        serve();
    } catch (const std::exception& e) {
        try {
            host_.agentLog(std::string("Remote session from ") + peer_ + " ended: " + e.what() + "\n");
        } catch (...) {
        }
    } catch (...) {
    }
    if (loggedIn_ && slots_)
        slots_->give();
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
    aborted_ = true;
    if (connection_->IsOpen())
        ::shutdown(connection_->Handle(), SHUT_RDWR);
    abortWake_.notify_all();
}

bool RemoteSession::waitUnlessAborted(std::chrono::milliseconds delay) {
    std::unique_lock lock(connectionMutex_);
    return !abortWake_.wait_for(lock, delay, [this] { return aborted_; });
}

bool RemoteSession::readLine(std::string& line, int capacity) {
    const int length = connection_->ReceiveWholeLine(line, capacity);
    // Before the login nothing is logged: a line per connection would let anyone fill the log.
    if (length == CCommAsyncSocket::kLineTooLong && loggedIn_)
        host_.agentLog(
            format("Remote session from %s ended: a line longer than %d bytes\n", peer_.c_str(), capacity - 1));
    return length >= 0;
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
    // A failed read, a line too long or an empty line ends the session.
    while (readLine(line, protocol::kRequestLineCapacity) && !line.empty()) {
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
    const LoginThrottle::Admission admission = throttle_.admit(peer_);
    if (admission.refused) {
        reject(name, kTooManyAttempts, admission);
        return false;
    }
    // The wait comes before the password is looked at, so that a guess costs its time whatever it is.
    if (admission.delay.count() > 0 && !waitUnlessAborted(admission.delay)) {
        throttle_.abandoned(peer_, admission);
        return false;
    }
    const AgentSettings settings = host_.settings();
    const protocol::LoginVerdict verdict =
        protocol::checkLogin(name, password, settings.adminName, settings.md5Password);
    if (!admin_password::usableForRemoteLogin(settings.md5Password)) {
        reject(name, kNoPasswordSet, admission);
        return false;
    }
    if (verdict != protocol::LoginVerdict::Accepted) {
        reject(name, protocol::loginRejectionReason(verdict), admission);
        return false;
    }
    throttle_.succeeded(peer_, admission);
    if (slots_ && !slots_->take()) {
        // The password was right: no failure is counted, but there is no place for another administrator.
        host_.accessLog("Access Rejected from IP " + peer_ + " (" + kTooManySessions + "):");
        connection_->SendAll(&protocol::kLoginRejected, 1);
        return false;
    }
    host_.agentLog(login_log::accepted(peer_, name));
    loggedIn_ = true; // holds its place from here on; run() gives it back
    if (connection_->SendAll(&protocol::kLoginAccepted, 1) != 1)
        return false;
    connection_->SetReplyTimeout(limits_.idleTimeout);
    return true;
}

void RemoteSession::reject(const std::string& name, const char* reason, const LoginThrottle::Admission& admission) {
    const LoginThrottle::Failure failure = throttle_.failed(peer_, admission);
    host_.accessLog("Access Rejected from IP " + peer_ + " (" + reason + "):");
    host_.agentLog(login_log::failed(peer_, name, reason, failure.inARow));
    if (failure.lockedOutNow)
        host_.agentLog(login_log::lockedOut(peer_, failure.inARow, throttle_.options().lockoutTime));
    connection_->SendAll(&protocol::kLoginRejected, 1);
}

} // namespace kv::agent::service
