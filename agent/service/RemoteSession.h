#pragma once

#include "agent/service/AgentFilePaths.h"
#include "agent/service/FileTransfers.h"
#include "agent/service/LoggedInSlots.h"
#include "agent/service/LoginThrottle.h"
#include "agent/service/RemoteServiceHost.h"
#include "common/channel/CCommAsyncSocket.h"
#include "common/protocol/Request.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace kv::agent::service {

struct SessionLimits {
    // A connection that has not logged in within this time from its accept (TLS handshake included) is dropped
    // by its listener, however it trickles its bytes, so that idle connections cannot hold the places.
    std::chrono::milliseconds loginTimeout{10000};
    // Longest wait for the next request once logged in.
    std::chrono::milliseconds idleTimeout{300000};
    // How often a monitor feed looks whether its client is still there when no output comes.
    std::chrono::milliseconds feedCheck{2500};
    // After the last reply, how long the agent waits for the client to close before it closes itself.
    std::chrono::milliseconds closeLinger{1000};
    // Waits and lockout after failed logins, per source address.
    LoginThrottle::Options throttle;
};

// One remote connection: the login, then requests until the session ends. run() is the body of the session's
// thread; abort() may be called from any other thread to end it early (agent shutdown), a login wait included.
// `throttle` and `slots` (null: no bound on logged-in sessions) are shared by the sessions of a listener and
// outlive them. Every line read is refused, and ends the session, when longer than its reader takes.
class RemoteSession {
public:
    RemoteSession(std::unique_ptr<CCommAsyncSocket> connection, std::string peerAddress, RemoteServiceHost& host,
                  LoginThrottle& throttle, SessionLimits limits = {}, LoggedInSlots* slots = nullptr);
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;
    ~RemoteSession();

    void run() noexcept;
    void abort();
    const std::string& peerAddress() const { return peer_; }
    bool loggedIn() const { return loggedIn_.load(); }
    std::chrono::steady_clock::time_point acceptedAt() const { return acceptedAt_; }

private:
    void serve();
    bool login();
    // Counts the failure, writes both logs (and the lockout it may begin) and answers the rejection.
    void reject(const std::string& name, const char* reason, const LoginThrottle::Admission& admission);
    // False when the session was aborted before `delay` had passed.
    bool waitUnlessAborted(std::chrono::milliseconds delay);
    // Carries out one request; false when the session ends after it.
    bool handle(protocol::Request request);
    bool readLine(std::string& line, int capacity);
    bool send(const std::string& line);
    void log(const char* what);
    AgentFilePaths paths() const;

    bool uploadSetup();
    bool uploadConfiguration();
    bool uploadNamedOptionFile();
    bool receiveInto(const std::string& path, const char* ready, const char* end);
    // Whether the session goes on after an upload (the reason why not is logged).
    bool finished(ReceiveResult result);
    bool downloadNamed(const std::string& folder, const char* suffix, int nameCapacity, int ackCapacity);
    bool activate();
    bool remove();
    bool setRestartTime();
    bool sendRecords(const std::vector<std::string>& records);
    bool monitorFeed();

    std::unique_ptr<CCommAsyncSocket> connection_;
    std::mutex connectionMutex_; // abort() against the session closing its socket, and the login wait
    std::condition_variable abortWake_;
    bool aborted_ = false;
    std::string peer_;
    RemoteServiceHost& host_;
    LoginThrottle& throttle_;
    SessionLimits limits_;
    LoggedInSlots* slots_;
    std::chrono::steady_clock::time_point acceptedAt_ = std::chrono::steady_clock::now();
    std::atomic<bool> loggedIn_ = false;
    bool clientLeft_ = false;
};

} // namespace kv::agent::service
