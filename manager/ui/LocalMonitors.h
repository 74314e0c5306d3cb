#pragma once

#include "manager/local/LocalRun.h"
#include "manager/local/LocalRunOptions.h"
#include "manager/ui/MonitorWindowMaker.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <list>
#include <string>
#include <vector>

namespace kv::monitor {
class CMonitorServerOutputWnd;
}

namespace kv::manager::ui {

// The running monitors: each setup run on this machine with its monitor window, by setup name. A run stays here
// until its window is closed and its server has gone, so that closing a window never waits for the server.
class LocalMonitors : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Started, Raised, Failed };

    LocalMonitors(const MonitorWindowMaker& maker, local::LocalRunOptions options, QObject* parent = nullptr);
    ~LocalMonitors() override;

    // Starts the server of `request` under a new monitor window. When that setup's server still runs, its monitor
    // is brought to the front instead: two servers of one setup would want the same ports. Failed: `error` says why.
    Outcome run(local::LocalRun::Request request, std::string* error);
    // Shows the monitor of a setup on top of the others; false when there is none.
    bool raise(const std::string& setupName) const;

    // Setup names of the open monitors, sorted.
    std::vector<std::string> names() const;
    monitor::CMonitorServerOutputWnd* window(const std::string& setupName) const;
    local::LocalRun* localRun(const std::string& setupName) const;
    // Servers that have not ended yet, with or without a window.
    int runningServers() const;

    // Closes every monitor without asking and stops every server; allStopped() follows once all have gone (or the
    // longest stop has passed).
    void stopAll();

signals:
    void allStopped();

private:
    struct Slot {
        int id = 0;
        std::string name;
        QPointer<local::LocalRun> run;
        QPointer<monitor::CMonitorServerOutputWnd> window;
        bool listed = true; // the setup's entry in the running monitors (false once a new run of it took over)
    };

    const Slot* listed(const std::string& name) const;
    void prune();
    void checkAllStopped();

    const MonitorWindowMaker& maker_;
    local::LocalRunOptions options_;
    std::list<Slot> slots_;
    int nextId_ = 1;
    bool stoppingAll_ = false;
    QTimer stopBound_;
};

} // namespace kv::manager::ui
