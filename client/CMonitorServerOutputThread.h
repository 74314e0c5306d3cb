#pragma once

#include "client/RemoteControlSinks.h"
#include "common/UniqueFd.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kv {

class CServerRemoteControl;

// Follows a remote server's output ("MonitorFeed") on its own thread, over a client object of its own: each line
// goes to the caller's line array and the monitor window hears of it. The feed ends when the connection breaks
// (TCP keep-alive notices a vanished host within a minute), when the window has gone by the time a line arrives,
// when a line grows too long, or at stop(); the thread then appends its closing lines, logs out and tells the
// window it has finished. The caller ends the object with release().
class CMonitorServerOutputThread final : public MonitorThread {
public:
    CMonitorServerOutputThread(std::unique_ptr<CServerRemoteControl> client, MonitorSink* window, MonitorLines* lines);
    void resume() noexcept override;
    void stop() noexcept override;
    void release() noexcept override;
    int agentIdentity(int* trust, std::string* fingerprint, std::string* recordedFingerprint) const noexcept override;

private:
    ~CMonitorServerOutputThread() override;
    void run() noexcept;
    void follow();
    bool armStop();
    void noteIdentity();
    void reportFailure() noexcept;
    bool windowAlive() const { return !stopping_ && window_ && window_->alive(); }

    std::unique_ptr<CServerRemoteControl> client_; // used by the thread only
    MonitorSink* window_;
    MonitorLines* lines_;
    std::atomic<bool> started_{false};
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_; // guards what follows
    // A second descriptor of the connection's socket. stop() shuts the socket down through it, so it never races
    // the thread closing the connection (a closed descriptor's number may already name another file).
    UniqueFd stopHandle_;
    int trust_ = 0;
    std::string presented_;
    std::string recorded_;
    bool freeOnExit_ = false; // release() came from the thread itself
    std::thread thread_;
};

} // namespace kv
