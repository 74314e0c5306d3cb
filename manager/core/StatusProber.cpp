#include "manager/core/StatusProber.h"

#include "manager/core/StopSignal.h"

#include <condition_variable>
#include <mutex>
#include <system_error>

namespace kv::core {

// What the worker shares with its prober; the worker keeps it alive when it outlives the prober.
struct StatusProber::Shared {
    Shared(std::string h, int p, StatusProberTiming t) : host(std::move(h)), port(p), timing(t) {}

    const std::string host;
    const int port;
    const StatusProberTiming timing;
    StopSignal stop;
    std::mutex mutex;
    std::condition_variable finished;
    StatusProber* owner = nullptr; // null once stopped: then nothing more is posted to it
    bool done = false;
};

StatusProber::StatusProber(std::string host, int port, StatusProberTiming timing, QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>(std::move(host), port, timing)) {}

StatusProber::~StatusProber() {
    stop();
    if (!worker_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    const bool done = shared_->finished.wait_for(lock, shared_->timing.joinBound, [this] { return shared_->done; });
    lock.unlock();
    if (done)
        worker_.join();
    else
        worker_.detach(); // still resolving a host name; it ends by itself and touches only `shared_`
}

void StatusProber::start() {
    if (started_)
        return;
    started_ = true;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->owner = this;
    }
    try {
        worker_ = std::thread(&StatusProber::work, shared_);
        running_ = true;
    } catch (const std::system_error&) {
        std::lock_guard lock(shared_->mutex);
        shared_->owner = nullptr;
    }
}

void StatusProber::stop() {
    running_ = false;
    shared_->stop.raise();
    std::lock_guard lock(shared_->mutex);
    shared_->owner = nullptr;
}

void StatusProber::deliver(StatusReport report) {
    if (!running_)
        return;
    report_ = std::move(report);
    emit reportChanged(report_);
}

void StatusProber::work(const std::shared_ptr<Shared>& shared) noexcept {
    try {
        const StatusQuery query(shared->timing.query);
        StatusReport report;
        while (!shared->stop.raised()) {
            StatusQueryResult result = query.run(shared->host, shared->port, &shared->stop);
            if (result.stopped || shared->stop.raised())
                break;
            report.answered = result.answered;
            if (result.answered) {
                report.playerCount = result.status.playerCount();
                report.version = result.status.version();
                report.summary = statusSummary(result.status);
                report.status = std::move(result.status);
            } else {
                report.summary = kStatusNotAvailable;
                report.status = {};
            }
            {
                // Posting only queues an event; the prober cannot go away meanwhile, as stop() takes this lock.
                std::lock_guard lock(shared->mutex);
                if (StatusProber* owner = shared->owner)
                    QMetaObject::invokeMethod(
                        owner, [owner, copy = report]() mutable { owner->deliver(std::move(copy)); },
                        Qt::QueuedConnection);
            }
            if (shared->stop.wait(shared->timing.interval))
                break;
        }
    } catch (...) {
        // A failed allocation ends the watch; the view keeps its last report.
    }
    std::lock_guard lock(shared->mutex);
    shared->done = true;
    shared->finished.notify_all();
}

} // namespace kv::core
