#include "cli/RemoteFeed.h"

#include "client/RemoteControlLibrary.h"

#include <condition_variable>
#include <mutex>
#include <ostream>

namespace kv::cli {

namespace {

// Stands for the monitor window: wakes the printing thread for each line and at the end.
class ConsoleMonitor : public MonitorSink {
public:
    bool alive() const override { return true; }
    void lineAdded() override { wake(); }
    void feedFailed(std::string text) override {
        std::lock_guard lock(mutex_);
        failure_ = std::move(text);
    }
    void feedEnded() override {}
    void monitorFinished() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }

    // Waits for news; true once the feed has finished.
    bool wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return news_ || finished_; });
        news_ = false;
        return finished_;
    }
    std::string failure() {
        std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    void wake() {
        std::lock_guard lock(mutex_);
        news_ = true;
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool news_ = false;
    bool finished_ = false;
    std::string failure_;
};

} // namespace

int followFeed(RemoteControlLibrary& library, KvsmRemoteObject* object, std::ostream& out, std::ostream& err,
               IdentityCheck& identity) {
    ConsoleMonitor monitor;
    MonitorLines lines;
    MonitorThreadPtr thread(library.startMonitor(object, &monitor, &lines));
    if (!thread)
        return 0;
    thread->resume();
    bool finished = false;
    while (!finished) {
        finished = monitor.wait();
        for (const std::string& line : lines.takeAll())
            out << line << '\n';
        out.flush();
    }
    thread->agentIdentity(&identity.trust, &identity.presented, &identity.recorded);
    thread.reset(); // joined before the process may end
    if (std::string failure = monitor.failure(); !failure.empty()) {
        err << "kvsm remote: " << failure << ".\n";
        return 0;
    }
    return 1;
}

} // namespace kv::cli
