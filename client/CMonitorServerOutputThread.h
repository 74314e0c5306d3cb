#pragma once

#include "client/RemoteControlSinks.h"

#include <atomic>

namespace kv {

class CServerRemoteControl;

// Follows a remote server's output ("MonitorFeed") on its own thread: each line goes to the caller's line array
// and the monitor window hears of it. The feed ends when the connection breaks, when the window has gone by the
// time a line arrives, or when a line grows too long; the thread then appends its closing lines, logs out, tells
// the window it has finished and deletes itself.
class CMonitorServerOutputThread final : public MonitorThread {
public:
    CMonitorServerOutputThread(CServerRemoteControl& client, MonitorSink* window, MonitorLines* lines);
    void resume() override;

private:
    ~CMonitorServerOutputThread() override = default;
    void run() noexcept;
    void follow();
    bool windowAlive() const { return window_ && window_->alive(); }

    CServerRemoteControl& client_;
    MonitorSink* window_;
    MonitorLines* lines_;
    std::atomic<bool> started_{false};
};

} // namespace kv
