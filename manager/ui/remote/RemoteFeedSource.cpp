#include "manager/ui/remote/RemoteFeedSource.h"

#include "client/RemoteControlLibrary.h"
#include "manager/remote/RemoteRunner.h"
#include "monitor/MonitorLineStore.h"

#include <atomic>
#include <ctime>
#include <mutex>

namespace kv::manager::ui {

namespace {

constexpr const char* kFeedFailed = "Failure connecting to server";

} // namespace

// What the library's monitor thread talks to: the sink, the lines it appends to, and the thread itself. The source
// holds it and clears `source` on its way out; what the thread reports afterwards goes nowhere. The thread is
// declared last, so it is released before the lines and the sink it uses are gone.
struct RemoteFeedSource::Shared final : public MonitorSink {
    mutable std::mutex mutex;
    RemoteFeedSource* source = nullptr;
    std::atomic<bool> linesPending{false};
    MonitorLines lines;
    MonitorThreadPtr thread;

    template <typename F> void post(F f) {
        std::lock_guard lock(mutex);
        if (RemoteFeedSource* target = source)
            QMetaObject::invokeMethod(
                target, [target, f = std::move(f)] { f(*target); }, Qt::QueuedConnection);
    }

    bool alive() const override {
        std::lock_guard lock(mutex);
        return source != nullptr;
    }
    void lineAdded() override {
        // A burst of lines is handed over once.
        if (linesPending.exchange(true))
            return;
        post([](RemoteFeedSource& s) { s.takeLines(); });
    }
    void feedFailed(std::string text) override {
        post([text = std::move(text)](RemoteFeedSource& s) { s.finish(text); });
    }
    void feedEnded() override {
        post([](RemoteFeedSource& s) { s.finish({}); });
    }
    void monitorFinished() override {
        post([](RemoteFeedSource& s) { s.finish({}); });
    }
};

RemoteFeedSource::RemoteFeedSource(std::shared_ptr<const RemoteControlLibrary> library, remote::RemoteHost host,
                                   QObject* parent)
    : MonitorSource(parent), host_(std::move(host)), runner_(new remote::RemoteRunner(std::move(library), this)),
      store_(new monitor::MonitorLineStore(false, this)), shared_(std::make_shared<Shared>()) {
    shared_->source = this;
    connect(store_, &monitor::MonitorSource::linesChanged, this, [this](bool follow) { emit linesChanged(follow); });
}

RemoteFeedSource::~RemoteFeedSource() {
    MonitorThreadPtr thread;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->source = nullptr;
        thread = std::move(shared_->thread);
    }
    // Released outside the lock: the thread's last calls to the sink take it. The stop unblocks its read at once.
    thread.reset();
}

void RemoteFeedSource::start() {
    if (started_)
        return;
    started_ = true;
    std::shared_ptr<Shared> shared = shared_;
    const bool running = runner_->run(
        host_,
        [shared](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            MonitorThreadPtr thread(library.startMonitor(object, shared.get(), &shared->lines));
            if (!thread)
                return 0;
            {
                std::lock_guard lock(shared->mutex);
                if (shared->source) {
                    shared->thread = std::move(thread);
                    return 1;
                }
            }
            return 0; // the window closed meanwhile: the thread, never resumed, is released here
        },
        [this](int result) {
            MonitorThread* thread = nullptr;
            {
                std::lock_guard lock(shared_->mutex);
                thread = shared_->thread.get();
            }
            // Only this thread releases it (in the destructor), so it stays valid here; resumed outside the lock
            // that its sink calls take.
            if (result != 0 && thread)
                thread->resume();
            else
                finish(kFeedFailed);
        },
        remote::RemoteRunner::StatusLine::Skipped);
    if (!running)
        finish(kFeedFailed);
}

void RemoteFeedSource::takeLines() {
    shared_->linesPending.store(false);
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    for (std::string& line : shared_->lines.takeAll())
        store_->appendText(now, std::move(line));
}

void RemoteFeedSource::finish(const std::string& failure) {
    takeLines();
    if (!failure.empty())
        store_->appendText(static_cast<std::int64_t>(std::time(nullptr)), failure);
    if (ended_)
        return;
    ended_ = true;
    emit feedEnded();
}

std::size_t RemoteFeedSource::lineCount() const {
    return store_->lineCount();
}

std::vector<monitor::MonitorLine> RemoteFeedSource::lines(std::size_t first, std::size_t count) const {
    return store_->lines(first, count);
}

void RemoteFeedSource::clearLines() {
    store_->clearLines();
}

} // namespace kv::manager::ui
