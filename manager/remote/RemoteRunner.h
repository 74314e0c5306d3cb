#pragma once

#include "client/RemoteControlLibrary.h"
#include "manager/remote/RemoteHost.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace kv::remote {

// Runs the library calls of one window: each on a worker thread of its own, with a fresh client object, the
// window's status line, one call, and the result handed back queued on this object's thread. A window that closes
// simply hears nothing more: its runner goes with it, the library is told that the status line is gone, and the
// worker ends by itself when the call returns (the library's own time-outs bound it). No worker is ever joined.
// A runner with a bound runs at most that many calls at once and queues the others in order; calls still queued
// when it goes are dropped.
class RemoteRunner : public QObject {
    Q_OBJECT
public:
    // One call on the object; non-zero for success, as the library reports it. It runs on the worker: whatever it
    // fills in must be owned by the call (a shared_ptr that the completion also holds), never by the window.
    using Call = std::function<int(const RemoteControlLibrary&, KvsmRemoteObject*)>;
    using Done = std::function<void(int result)>;
    enum class StatusLine { Shown, Skipped };

    // `receiver` is the window; the runner becomes its child unless `parent` says otherwise.
    RemoteRunner(std::shared_ptr<const RemoteControlLibrary> library, QObject* receiver, QObject* parent = nullptr);
    // At most `bound` calls at once (at least one).
    RemoteRunner(std::shared_ptr<const RemoteControlLibrary> library, QObject* receiver, int bound,
                 QObject* parent = nullptr);
    ~RemoteRunner() override;

    bool available() const { return library_ != nullptr; }

    // What the runner's end does, at once: calls still queued are dropped, and results and texts of calls under way
    // are never delivered. Nothing runs through a closed runner any more.
    void close();

    // False when remote support is off: nothing runs and `done` is not called. With a bound, the call may wait in
    // the queue first; `run` itself never waits.
    bool run(const RemoteHost& host, Call call, Done done, StatusLine status = StatusLine::Shown);

    // Workers of all runners that have not ended yet; the program waits for them, with a bound, before it exits.
    static int runningWorkers();
    static bool waitForWorkers(std::chrono::milliseconds bound);

signals:
    // A progress text of the library for the status line.
    void statusText(const QString& text);

private:
    struct Mailbox;
    struct Job;
    static void work(std::shared_ptr<Mailbox> mailbox, std::shared_ptr<Job> job) noexcept;
    static bool startWorker(const std::shared_ptr<Mailbox>& mailbox, std::shared_ptr<Job> job);
    void deliver(int result, const Done& done);

    std::shared_ptr<const RemoteControlLibrary> library_;
    QPointer<QObject> receiver_;
    std::shared_ptr<Mailbox> mailbox_;
};

} // namespace kv::remote
