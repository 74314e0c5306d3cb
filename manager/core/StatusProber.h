#pragma once

#include "manager/core/StatusQuery.h"
#include "manager/core/StatusReport.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace kv::core {

struct StatusProberTiming {
    StatusQueryTiming query;
    std::chrono::milliseconds interval{10000}; // from the end of one query to the start of the next
    std::chrono::milliseconds joinBound{200};  // how long the destructor waits for the worker before leaving it
};

// Watches one game server for a view that shows its status: a worker thread queries the server, waits `interval`,
// and queries again until stop() or the prober's end. Each result (answer or "Not Available") comes back as
// reportChanged() on the prober's own thread, never after stop(). stop() and the destructor never wait for the
// network: the worker's socket waits also watch a stop signal; only a host name lookup cannot be cut short, and a
// worker still inside one is left to finish on its own.
class StatusProber : public QObject {
    Q_OBJECT
public:
    explicit StatusProber(std::string host, int port = kStatusQueryPort, StatusProberTiming timing = {},
                          QObject* parent = nullptr);
    ~StatusProber() override;

    // Starts the worker; once only (a stopped prober stays stopped).
    void start();
    void stop();
    bool running() const { return running_; }

    // The latest report ("Not Scanned Yet" before the first query ends).
    const StatusReport& report() const { return report_; }

signals:
    void reportChanged(const kv::core::StatusReport& report);

private:
    struct Shared;
    static void work(const std::shared_ptr<Shared>& shared) noexcept;
    void deliver(StatusReport report);

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
    bool started_ = false;
    bool running_ = false;
    StatusReport report_;
};

} // namespace kv::core
