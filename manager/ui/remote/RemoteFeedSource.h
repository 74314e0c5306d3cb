#pragma once

#include "manager/remote/RemoteHost.h"
#include "monitor/MonitorSource.h"

#include <memory>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::monitor {
class MonitorLineStore;
}

namespace kv::remote {
class RemoteRunner;
}

namespace kv::manager::ui {

// The output of a remote game server as its monitor window sees it: the library's monitor feed (StartMonitor)
// appends lines on its own thread; they reach the window's line store queued, on the GUI thread. The feed ends when
// the source goes (its window closed): the feed is stopped and released, which returns promptly after the stop.
class RemoteFeedSource final : public monitor::MonitorSource {
    Q_OBJECT
public:
    RemoteFeedSource(std::shared_ptr<const RemoteControlLibrary> library, remote::RemoteHost host,
                     QObject* parent = nullptr);
    ~RemoteFeedSource() override;

    // Starts the feed: StartMonitor on a worker, then the feed runs on the library's thread. Once only.
    void start();
    // False once the feed could not start or has finished: the window then shows lines that no longer grow.
    bool feeding() const { return !ended_; }

    std::size_t lineCount() const override;
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override;
    void clearLines() override;
    bool showMemory() const override { return false; }

signals:
    // The feed could not start, or it has finished.
    void feedEnded();

private:
    struct Shared;
    void takeLines();
    void finish(const std::string& failure);

    remote::RemoteHost host_;
    remote::RemoteRunner* runner_ = nullptr;
    monitor::MonitorLineStore* store_ = nullptr;
    std::shared_ptr<Shared> shared_;
    bool started_ = false;
    bool ended_ = false;
};

} // namespace kv::manager::ui
