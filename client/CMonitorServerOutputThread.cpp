#include "client/CMonitorServerOutputThread.h"

#include "client/CServerRemoteControl.h"
#include "common/LocalTime.h"
#include "common/protocol/FeedLine.h"
#include "common/protocol/FeedLineAssembler.h"
#include "common/protocol/Request.h"

#include <fcntl.h>
#include <csignal>
#include <openssl/crypto.h>
#include <pthread.h>
#include <sys/socket.h>

namespace kv {

namespace {

std::string notice(const char* text) {
    return protocol::formatFeedNotice(toLocalTime(currentSeconds()), text);
}

// A quiet feed may last for hours; these probes tell a host that has gone from one that has nothing to say, within
// a minute (idle 20 s, then 4 probes 5 s apart; unacknowledged data gives up after 45 s).
constexpr std::chrono::seconds kKeepAliveIdle{20};
constexpr std::chrono::seconds kKeepAliveInterval{5};
constexpr int kKeepAliveProbes = 4;
constexpr std::chrono::milliseconds kUnacknowledgedLimit{45000};

} // namespace

CMonitorServerOutputThread::CMonitorServerOutputThread(std::unique_ptr<CServerRemoteControl> client,
                                                       MonitorSink* window, MonitorLines* lines)
    : client_(std::move(client)), window_(window), lines_(lines) {}

CMonitorServerOutputThread::~CMonitorServerOutputThread() = default;

void CMonitorServerOutputThread::resume() noexcept {
    if (started_.exchange(true))
        return;
    try {
        std::lock_guard lock(mutex_);
        thread_ = std::thread([this] { run(); });
    } catch (...) {
        // No thread could be made: the feed ends as if it could not connect.
        reportFailure();
        try {
            if (window_)
                window_->monitorFinished();
        } catch (...) {
        }
    }
}

void CMonitorServerOutputThread::stop() noexcept {
    stopping_ = true;
    std::lock_guard lock(mutex_);
    // Shutting the reading side wakes a read or a connect in progress. The writing side stays open: a TLS read
    // that meets the end still sends an alert, and on a closed writing side that would raise SIGPIPE.
    if (stopHandle_.valid())
        ::shutdown(stopHandle_.get(), SHUT_RD);
}

void CMonitorServerOutputThread::release() noexcept {
    stop();
    std::thread worker;
    {
        std::lock_guard lock(mutex_);
        if (thread_.get_id() == std::this_thread::get_id()) {
            // Called from a sink: the thread cannot wait for itself, so it frees the object as it ends.
            freeOnExit_ = true;
            thread_.detach();
            return;
        }
        worker = std::move(thread_);
    }
    if (worker.joinable()) {
        try {
            worker.join();
        } catch (...) {
            return; // cannot happen for a thread of our own; leaking beats freeing what it may still use
        }
    }
    delete this;
}

int CMonitorServerOutputThread::agentIdentity(int* trust, std::string* fingerprint,
                                              std::string* recordedFingerprint) const noexcept {
    try {
        std::lock_guard lock(mutex_);
        if (trust)
            *trust = trust_;
        if (fingerprint)
            *fingerprint = presented_;
        if (recordedFingerprint)
            *recordedFingerprint = recorded_;
        return trust_ != static_cast<int>(AgentTrust::NoContact) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void CMonitorServerOutputThread::run() noexcept {
    // A TLS read may write (an alert) to a peer that is gone. SIGPIPE raised by this thread's own writes stays
    // blocked for its whole life, which costs nothing per byte read, unlike a guard around every read.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    try {
        follow();
    } catch (...) {
    }
    // The connection and its TLS state go on this thread, before the caller can hear of the end.
    client_.reset();
    {
        std::lock_guard lock(mutex_);
        stopHandle_.reset();
    }
    // The thread's own OpenSSL state is freed now rather than as the thread exits: once monitorFinished() is
    // told, a caller that freed the object from a sink may end the process while this thread is on its way out.
    OPENSSL_thread_stop();
    try {
        if (window_)
            window_->monitorFinished();
    } catch (...) {
    }
    bool freeNow = false;
    {
        std::lock_guard lock(mutex_);
        freeNow = freeOnExit_;
    }
    if (freeNow)
        delete this;
}

bool CMonitorServerOutputThread::armStop() {
    CCommAsyncSocket& connection = client_->Connection();
    if (!connection.IsOpen())
        connection.CreateBound(0);
    std::lock_guard lock(mutex_);
    if (connection.IsOpen())
        stopHandle_.reset(::fcntl(connection.Handle(), F_DUPFD_CLOEXEC, 0));
    // Without it the feed could not be stopped: better not to start it.
    return stopHandle_.valid();
}

void CMonitorServerOutputThread::noteIdentity() {
    std::lock_guard lock(mutex_);
    trust_ = static_cast<int>(client_->LastAgentTrust());
    presented_ = client_->PresentedFingerprint();
    recorded_ = client_->RecordedFingerprint();
}

void CMonitorServerOutputThread::reportFailure() noexcept {
    try {
        if (windowAlive()) {
            window_->feedFailed(protocol::kFeedConnectFailure);
            window_->feedEnded();
        }
    } catch (...) {
    }
}

void CMonitorServerOutputThread::follow() {
    // A stop that comes after the check but before the connect has begun waits for the connect's own bounds.
    const bool connected = armStop() && !stopping_ && client_->ConnectToServer();
    noteIdentity();
    if (!connected) {
        reportFailure();
        return;
    }
    CCommAsyncSocket& connection = client_->Connection();
    std::string request = std::string(protocol::requestWord(protocol::Request::MonitorFeed)) + "\n";
    if (stopping_ || connection.SendAll(request) < 0) {
        connection.Close();
        return;
    }
    // Output may pause for hours: the read has no bound, keep-alive notices a vanished host and stop() ends it.
    connection.SetReplyTimeout(std::chrono::milliseconds(0));
    connection.SetKeepAlive(kKeepAliveIdle, kKeepAliveInterval, kKeepAliveProbes, kUnacknowledgedLimit);
    protocol::FeedLineAssembler assembler;
    while (!stopping_) {
        char byte = 0;
        if (connection.ReceiveExact(&byte, 1) != 1) {
            if (lines_ && !stopping_)
                lines_->append(notice(protocol::kFeedBroken));
            break;
        }
        protocol::FeedLineAssembler::Step step = assembler.add(byte);
        if (step == protocol::FeedLineAssembler::Step::TooLong)
            break;
        if (step == protocol::FeedLineAssembler::Step::Line) {
            if (lines_)
                lines_->append(assembler.line());
            if (!windowAlive())
                break;
            window_->lineAdded();
        }
    }
    if (lines_)
        lines_->append(notice(protocol::kFeedEnding));
    connection.SetReplyTimeout(client_->Options().replyTimeout);
    client_->DisconnectFromServer();
}

} // namespace kv
