#pragma once

#include "agent/AdminPortStopper.h"
#include "agent/AgentEnvironment.h"
#include "agent/FeedList.h"
#include "agent/MemorySampler.h"

#include "common/ChildProcess.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::agent {

class AgentLog;
class OutputLineList;
class OutputReader;
class SettingsStore;
class QueuedReceiver;
class SupervisionState;

// One run of the game server: it owns the process, the output reader, the exit watch, memory sampling, the stop
// sequence with its clean-up, the run's log files and its feed list. The monitor window is a view of a run; in
// headless mode a run exists without one. Lives on the main thread, which it never blocks: the stop sequence runs on
// timers and the admin port is talked to on a worker.
class GameServerRun : public QObject {
    Q_OBJECT
public:
    struct Setup {
        std::string setupName;
        std::int64_t launchTime = 0;
        // Logs of an earlier run to go on with (absolute paths); empty: new files named by the launch time.
        std::string runningLogPath;
        std::string memoryCsvPath;
    };
    struct Services {
        const AgentEnvironment* env = nullptr;
        SettingsStore* settings = nullptr;
        SupervisionState* state = nullptr;
        OutputLineList* lines = nullptr;
        AgentLog* log = nullptr;
    };

    // Takes over a started process and begins capture, the exit watch and memory sampling at once.
    GameServerRun(std::unique_ptr<ChildProcess> process, Setup setup, Services services, QObject* parent = nullptr);
    ~GameServerRun() override;

    // The stop sequence: exit watch off, status Stopped, "SHUTDOWN\r" to the admin interface, clean-up later
    // (SIGTERM, then SIGKILL after the grace time, if the server still runs).
    void stop();
    // Ends the run (restart, new start, agent exit): the stop sequence unless it already ran, going on to the
    // clean-up as soon as the server has gone; then the output line list is emptied, the feeds end and runEnded() is
    // emitted (at once when the sequence had already finished). Returns at once.
    void close();
    // The longest close() may take before runEnded(): every wait of the sequence, with room for the reap.
    std::chrono::milliseconds longestClose() const;

    const std::string& setupName() const { return setup_.setupName; }
    std::int64_t launchTime() const { return setup_.launchTime; }
    pid_t pid() const { return process_ ? process_->pid() : -1; }
    bool processRunning() const;
    bool stopping() const { return stopRequested_; }
    bool closed() const { return closed_; }
    bool hasEnded() const { return ended_; }
    // "Stop Server", "Stopping Server" or "Server Stopped": what the monitor window's button says.
    const char* stopButtonText() const;
    // Paths of the run's logs (absolute).
    const std::string& runningLogPath() const { return runningLogPath_; }
    const std::string& memoryCsvPath() const { return csvPath_; }
    FeedList& feeds() { return feeds_; }
    std::uint64_t linesRead() const;

signals:
    // New output (or an alert line); follow = scroll to the end. Views repaint, coalesced by the reader.
    void outputChanged(bool follow);
    // The server ended on its own and the stop sequence ran: the agent starts a new run, at once or after a wait.
    // While it waits this run stays, showing the crash, and its clean-up leaves the status Crashed.
    void crashHandled();
    // The stop button's text changed.
    void stopStateChanged();
    // A closed run is over: its server has gone (or could not be reaped within the bound) and its capture ended.
    void runEnded();

private:
    void watchExit();
    void sampleMemory();
    void onShutdownSent(const AdminPortStopper::Outcome& outcome);
    void startCleanup();
    void finishCleanup();
    void watchReap();
    void sequenceDone();
    void watchEnd();
    void finishClose();
    void addAlert(std::string text);
    void flushAlerts(bool drained);
    void endCapture();

    std::unique_ptr<ChildProcess> process_;
    Setup setup_;
    Services s_;
    MemorySampler sampler_;
    FeedList feeds_;
    std::unique_ptr<OutputReader> reader_;
    std::string runningLogPath_;
    std::string csvPath_;
    QTimer exitWatch_;
    QTimer memoryTimer_;
    QTimer cleanupTimer_;
    QTimer graceTimer_;
    QTimer shutdownBound_; // a worker that never answers must not hold up the stop
    QTimer reapTimer_;     // after SIGKILL, until the server is reaped
    QTimer endWatch_;      // while closing: skip the waits once the server has gone
    QTimer alertWatch_;    // an alert waits for the reader to take the server's last lines
    std::chrono::steady_clock::time_point killedAt_;
    std::chrono::steady_clock::time_point alertSince_;
    std::vector<OutputLine> pendingAlerts_;
    std::shared_ptr<QueuedReceiver> receiver_;
    std::int64_t peakPageFile_ = 0;
    bool stopRequested_ = false;
    bool shutdownSent_ = false;
    bool awaitingShutdown_ = false;
    bool cleanedUp_ = false;
    bool closed_ = false;
    bool sequenceDone_ = false;
    bool ended_ = false;
    bool crashSeen_ = false;
};

} // namespace kv::agent
