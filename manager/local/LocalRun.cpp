#include "manager/local/LocalRun.h"

#include "common/Format.h"
#include "common/LocalTime.h"

#include <fcntl.h>

namespace kv::manager::local {

namespace {
using Steady = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kEndPoll{20};

// A timer's slot: nothing thrown may reach the event loop (only running out of memory can throw here).
template <typename F> auto guarded(LocalRun* run, F f) {
    return [run, f] {
        try {
            (run->*f)();
        } catch (...) {
            qWarning("kvmanager: a local run's timer failed");
        }
    };
}

std::string stampOf(std::int64_t seconds) {
    const LocalTime t = toLocalTime(seconds);
    return format("%d/%d/%d-%d:%2.2d:%2.2d - ", t.month, t.day, t.year, t.hour, t.minute, t.second);
}
} // namespace

LocalRun::LocalRun(Request request, LocalRunOptions options)
    : request_(std::move(request)), options_(options), clock_(options.clock ? options.clock : &systemClock_),
      lines_(options.maxConsoleLoggingRamInK) {
    connect(&exitWatch_, &QTimer::timeout, this, guarded(this, &LocalRun::watchExit));
    graceTimer_.setSingleShot(true);
    connect(&graceTimer_, &QTimer::timeout, this, guarded(this, &LocalRun::graceOver));
    connect(&endWatch_, &QTimer::timeout, this, guarded(this, &LocalRun::watchEnd));
}

std::unique_ptr<LocalRun> LocalRun::start(Request request, LocalRunOptions options, std::string* error) {
    std::unique_ptr<LocalRun> run(new LocalRun(std::move(request), options));
    ProcessOptions process;
    process.arguments = run->request_.arguments;
    process.workingDirectory = run->request_.folder;
    // A manager that dies must not leave servers behind holding their ports; the GUI thread lives as long as we do.
    process.endWithParent = true;
    if (!run->process_.start(process, error))
        return nullptr;
    UniqueFd pipe(::fcntl(run->process_.outputFd(), F_DUPFD_CLOEXEC, 0));
    run->process_.closeOutput();
    if (!pipe.valid()) {
        if (error)
            *error = "The output of the server could not be captured";
        return nullptr; // the server goes with its ChildProcess
    }
    run->capture_ = std::make_unique<OutputCapture>(std::move(pipe), OutputLineSplitter::LongLines::Split,
                                                    static_cast<OutputCapture::Sink&>(*run));
    run->exitWatch_.start(options.exitWatch);
    return run;
}

LocalRun::~LocalRun() {
    // Joined before anything it writes to goes; a server still running goes with ChildProcess (SIGKILL).
    capture_.reset();
}

std::int64_t LocalRun::now() const {
    return clock_->nowSeconds();
}

const char* LocalRun::stopButtonText() const {
    if (ended_ || exited_)
        return "Server Stopped";
    return stopping_ ? "Stopping Server" : "Stop Server";
}

void LocalRun::linesCaptured(std::span<const std::string_view> lines) {
    const std::int64_t t = now();
    if (t != stampSecond_) {
        stampSecond_ = t;
        stamp_ = stampOf(t);
    }
    std::vector<LocalLine> batch;
    batch.reserve(lines.size());
    for (std::string_view line : lines) {
        std::string text;
        text.reserve(stamp_.size() + line.size());
        text.append(stamp_).append(line);
        batch.push_back({t, std::move(text)});
    }
    lines_.append(std::move(batch));
    if (announcePending_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            announcePending_.store(false);
            emit linesChanged(true);
        },
        Qt::QueuedConnection);
}

void LocalRun::addAlert(const char* what) {
    const std::int64_t t = now();
    lines_.append({t, stampOf(t) + "ALERT - " + what});
    emit linesChanged(true);
}

void LocalRun::watchExit() {
    if (exited_ || !process_.poll())
        return;
    exited_ = true;
    exitedAt_ = Steady::now();
    exitWatch_.stop();
    emit stateChanged();
    // The alert waits for the server's last lines, so that it comes after them.
    endWatch_.start(kEndPoll);
}

void LocalRun::stop() {
    if (!canStop())
        return;
    if (process_.poll()) {
        watchExit(); // it ended by itself a moment ago: nothing to stop
        return;
    }
    stopping_ = true;
    exitWatch_.stop();
    process_.terminate();
    graceTimer_.start(options_.stopGrace);
    endWatch_.start(kEndPoll);
    emit stateChanged();
}

void LocalRun::graceOver() {
    if (exited_ || process_.poll())
        return;
    process_.kill();
    killed_ = true;
    endBound_ = Steady::now() + options_.reapBound;
}

void LocalRun::watchEnd() {
    const Steady::time_point t = Steady::now();
    if (!exited_) {
        // A process that even SIGKILL does not end within the bound is given up on; ChildProcess reaps it last.
        if (!process_.poll() && !(killed_ && t >= endBound_))
            return;
        exited_ = true;
        exitedAt_ = t;
        graceTimer_.stop();
        emit stateChanged();
    }
    if (capture_ && !capture_->finished() && t - exitedAt_ < options_.drainBound)
        return;
    finish();
}

void LocalRun::finish() {
    endWatch_.stop();
    if (ended_)
        return;
    ended_ = true;
    addAlert(stopping_ ? "Server Stopped By User" : "Server Stopped By Crash Or Task Manager");
    emit stateChanged();
    emit ended();
}

} // namespace kv::manager::local
