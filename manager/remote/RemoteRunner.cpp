#include "manager/remote/RemoteRunner.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace kv::remote {

namespace {

// Left allocated on purpose: a worker may still count itself out while static objects are being destroyed.
struct WorkerCount {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
};

WorkerCount& workers() {
    static auto* count = new WorkerCount;
    return *count;
}

class WorkerTicket {
public:
    WorkerTicket() {
        std::lock_guard lock(workers().mutex);
        ++workers().running;
    }
    WorkerTicket(const WorkerTicket&) = delete;
    WorkerTicket& operator=(const WorkerTicket&) = delete;
    ~WorkerTicket() {
        std::lock_guard lock(workers().mutex);
        --workers().running;
        workers().ended.notify_all();
    }
};

} // namespace

// Where workers post to. The runner clears it on its way out, under the lock, so no worker posts to a runner that
// is being destroyed, and events already posted are dropped with it by Qt. A bounded runner's queue lives here too,
// so that a worker that ends its call takes the next one without the runner.
struct RemoteRunner::Mailbox {
    std::mutex mutex;
    RemoteRunner* runner = nullptr;
    int bound = 0;  // 0: every call on a worker of its own at once
    int active = 0; // workers of a bounded runner
    std::deque<std::shared_ptr<Job>> queue;

    template <typename F> bool post(F&& f) {
        std::lock_guard lock(mutex);
        if (!runner)
            return false;
        return QMetaObject::invokeMethod(runner, std::forward<F>(f), Qt::QueuedConnection);
    }
    bool open() {
        std::lock_guard lock(mutex);
        return runner != nullptr;
    }
    // The next queued call for a worker that has ended one; null (and one worker fewer) when there is none.
    std::shared_ptr<Job> next() {
        std::lock_guard lock(mutex);
        if (bound == 0)
            return nullptr;
        if (runner && !queue.empty()) {
            std::shared_ptr<Job> job = std::move(queue.front());
            queue.pop_front();
            return job;
        }
        --active;
        return nullptr;
    }
};

struct RemoteRunner::Job {
    std::shared_ptr<const RemoteControlLibrary> library;
    RemoteHost host;
    Call call;
    Done done;
    std::shared_ptr<StatusSink> sink; // null: the call goes without a status line
};

namespace {

class RunnerStatusSink final : public StatusSink {
public:
    using Post = std::function<void(std::string)>;
    RunnerStatusSink(std::function<bool()> alive, Post post) : alive_(std::move(alive)), post_(std::move(post)) {}
    void setText(const std::string& text) override { post_(text); }
    bool alive() const override { return alive_(); }

private:
    std::function<bool()> alive_;
    Post post_;
};

} // namespace

RemoteRunner::RemoteRunner(std::shared_ptr<const RemoteControlLibrary> library, QObject* receiver, QObject* parent)
    : QObject(parent ? parent : receiver), library_(std::move(library)), receiver_(receiver),
      mailbox_(std::make_shared<Mailbox>()) {
    mailbox_->runner = this;
}

RemoteRunner::RemoteRunner(std::shared_ptr<const RemoteControlLibrary> library, QObject* receiver, int bound,
                           QObject* parent)
    : RemoteRunner(std::move(library), receiver, parent) {
    mailbox_->bound = std::max(1, bound);
}

RemoteRunner::~RemoteRunner() {
    close();
}

void RemoteRunner::close() {
    std::deque<std::shared_ptr<Job>> dropped; // released after the lock: their completions may own anything
    std::lock_guard lock(mailbox_->mutex);
    mailbox_->runner = nullptr;
    dropped.swap(mailbox_->queue);
}

bool RemoteRunner::run(const RemoteHost& host, Call call, Done done, StatusLine status) {
    if (!library_ || !call || !mailbox_->open())
        return false;
    auto job = std::make_shared<Job>(Job{library_, host, std::move(call), std::move(done), nullptr});
    if (status == StatusLine::Shown) {
        std::shared_ptr<Mailbox> mailbox = mailbox_;
        job->sink = std::make_shared<RunnerStatusSink>([mailbox] { return mailbox->open(); },
                                                       [mailbox](std::string text) {
                                                           mailbox->post([mailbox, text = std::move(text)] {
                                                               if (mailbox->runner)
                                                                   emit mailbox->runner->statusText(
                                                                       QString::fromStdString(text));
                                                           });
                                                       });
    }
    {
        std::lock_guard lock(mailbox_->mutex);
        if (mailbox_->bound > 0) {
            if (mailbox_->active >= mailbox_->bound) {
                mailbox_->queue.push_back(std::move(job));
                return true;
            }
            ++mailbox_->active;
        }
    }
    if (startWorker(mailbox_, std::move(job)))
        return true;
    std::lock_guard lock(mailbox_->mutex);
    if (mailbox_->bound > 0)
        --mailbox_->active;
    return false; // no thread could be made: the call is not made either
}

bool RemoteRunner::startWorker(const std::shared_ptr<Mailbox>& mailbox, std::shared_ptr<Job> job) {
    auto ticket = std::make_shared<WorkerTicket>();
    try {
        std::thread worker(
            [mailbox, job = std::move(job), ticket]() mutable noexcept { work(mailbox, std::move(job)); });
        worker.detach();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

// One call after the other until the queue is empty: the client object, the status line, the call, the result
// posted back.
void RemoteRunner::work(std::shared_ptr<Mailbox> mailbox, std::shared_ptr<Job> job) noexcept {
    while (job) {
        int result = 0;
        try {
            if (mailbox->open()) {
                const RemoteControlLibrary& library = *job->library;
                using Object = std::unique_ptr<KvsmRemoteObject, std::function<void(KvsmRemoteObject*)>>;
                Object object(
                    library.create(job->host.address.c_str(), job->host.adminName.c_str(), job->host.password.c_str()),
                    [&library](KvsmRemoteObject* o) { library.destroy(o); });
                if (object) {
                    if (job->sink)
                        library.setStatusWindow(object.get(), job->sink.get());
                    result = job->call(library, object.get());
                }
            }
        } catch (...) {
            result = 0;
        }
        try {
            mailbox->post([mailbox, result, done = job->done] {
                if (mailbox->runner)
                    mailbox->runner->deliver(result, done);
            });
        } catch (...) {
        }
        job.reset();
        try {
            job = mailbox->next();
        } catch (...) {
            job.reset();
        }
    }
}

void RemoteRunner::deliver(int result, const Done& done) {
    if (!receiver_ || !done)
        return;
    try {
        done(result);
    } catch (const std::exception& e) {
        qWarning("kv: a remote call's completion failed: %s", e.what());
    } catch (...) {
        qWarning("kv: a remote call's completion failed");
    }
}

int RemoteRunner::runningWorkers() {
    std::lock_guard lock(workers().mutex);
    return workers().running;
}

bool RemoteRunner::waitForWorkers(std::chrono::milliseconds bound) {
    std::unique_lock lock(workers().mutex);
    return workers().ended.wait_for(lock, bound, [] { return workers().running == 0; });
}

} // namespace kv::remote
