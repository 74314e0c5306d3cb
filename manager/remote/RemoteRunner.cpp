#include "manager/remote/RemoteRunner.h"

#include <condition_variable>
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
// is being destroyed, and events already posted are dropped with it by Qt.
struct RemoteRunner::Mailbox {
    std::mutex mutex;
    RemoteRunner* runner = nullptr;

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

RemoteRunner::~RemoteRunner() {
    std::lock_guard lock(mailbox_->mutex);
    mailbox_->runner = nullptr;
}

bool RemoteRunner::run(const RemoteHost& host, Call call, Done done, StatusLine status) {
    if (!library_ || !call)
        return false;
    std::shared_ptr<Mailbox> mailbox = mailbox_;
    auto sink =
        std::make_shared<RunnerStatusSink>([mailbox] { return mailbox->open(); },
                                           [mailbox](std::string text) {
                                               mailbox->post([mailbox, text = std::move(text)] {
                                                   if (mailbox->runner)
                                                       emit mailbox->runner->statusText(QString::fromStdString(text));
                                               });
                                           });
    auto ticket = std::make_shared<WorkerTicket>();
    try {
        std::thread worker([library = library_, host, call = std::move(call), done = std::move(done), mailbox, sink,
                            withStatus = status == StatusLine::Shown, ticket]() noexcept {
            int result = 0;
            try {
                if (mailbox->open()) {
                    using Object = std::unique_ptr<KvsmRemoteObject, std::function<void(KvsmRemoteObject*)>>;
                    Object object(library->create(host.address.c_str(), host.adminName.c_str(), host.password.c_str()),
                                  [&library](KvsmRemoteObject* o) { library->destroy(o); });
                    if (object) {
                        if (withStatus)
                            library->setStatusWindow(object.get(), sink.get());
                        result = call(*library, object.get());
                    }
                }
            } catch (...) {
                result = 0;
            }
            try {
                mailbox->post([mailbox, result, done] {
                    if (mailbox->runner)
                        mailbox->runner->deliver(result, done);
                });
            } catch (...) {
            }
        });
        worker.detach();
    } catch (const std::exception&) {
        return false; // no thread could be made: the call is not made either
    }
    return true;
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
