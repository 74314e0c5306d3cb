#pragma once

#include "manager/local/LocalRunLines.h"
#include "manager/local/LocalRunOptions.h"

#include "common/ChildProcess.h"
#include "common/Clock.h"
#include "common/OutputCapture.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kv::manager::local {

// A game server that the manager runs on this machine: the process in its own process group, the capture of its
// output into stamped lines, the exit watch and the stop sequence. Lives on the GUI thread, which it never blocks:
// the stop (SIGTERM to the group, SIGKILL after the grace time) and the wait for the end run on timers.
class LocalRun final : public QObject, private OutputCapture::Sink {
    Q_OBJECT
public:
    struct Request {
        std::string setupName;
        std::vector<std::string> arguments; // arguments[0] is the server program
        std::string folder;                 // the folder it runs in
    };

    // Starts the server; null with `error` saying why when it cannot be started.
    static std::unique_ptr<LocalRun> start(Request request, LocalRunOptions options, std::string* error);
    ~LocalRun() override;

    const std::string& setupName() const { return request_.setupName; }
    const std::vector<std::string>& arguments() const { return request_.arguments; }
    pid_t pid() const { return process_.pid(); }
    bool stopping() const { return stopping_; }
    // The server has gone and the closing alert line is written.
    bool hasEnded() const { return ended_; }
    // A stop may still be asked for: the server runs and no stop is under way.
    bool canStop() const { return !stopping_ && !exited_; }
    // What the monitor's stop button says.
    const char* stopButtonText() const;

    // "Stop Server": SIGTERM to the group now, SIGKILL after the grace time, then the alert line. Returns at once.
    void stop();

    LocalRunLines& lines() { return lines_; }
    const LocalRunLines& lines() const { return lines_; }
    std::uint64_t linesRead() const { return capture_ ? capture_->linesRead() : 0; }

signals:
    // New lines (or an alert); follow = show the end. Coalesced: a burst of output is announced once.
    void linesChanged(bool follow);
    void stateChanged();
    // The server has gone (by itself or stopped) and the last alert line is in.
    void ended();

private:
    LocalRun(Request request, LocalRunOptions options);

    void linesCaptured(std::span<const std::string_view> lines) override;
    void watchExit();
    void graceOver();
    void watchEnd();
    void finish();
    void addAlert(const char* what);
    std::int64_t now() const;

    Request request_;
    LocalRunOptions options_;
    SystemClock systemClock_;
    const Clock* clock_;
    ChildProcess process_;
    LocalRunLines lines_;
    QTimer exitWatch_;
    QTimer graceTimer_;
    QTimer endWatch_;
    std::chrono::steady_clock::time_point endBound_{};
    std::chrono::steady_clock::time_point exitedAt_{};
    std::int64_t stampSecond_ = -1; // the capture thread's cache of its time stamp
    std::string stamp_;
    std::atomic<bool> announcePending_{false};
    bool stopping_ = false;
    bool killed_ = false;
    bool exited_ = false;
    bool ended_ = false;
    std::unique_ptr<OutputCapture> capture_; // last: it calls into everything above
};

} // namespace kv::manager::local
