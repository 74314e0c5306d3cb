#include "agent/GameServerRun.h"

#include "agent/AgentLog.h"
#include "agent/MemoryCsvLog.h"
#include "agent/OutputFormats.h"
#include "agent/OutputLineList.h"
#include "agent/OutputReader.h"
#include "agent/QueuedReceiver.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"

#include "common/Files.h"

#include <signal.h>
#include <unistd.h>

#include <utility>

namespace kv::agent {

namespace {
using std::chrono::milliseconds;
constexpr milliseconds kReapBound{2000}; // after SIGKILL
constexpr milliseconds kReapPoll{20};
constexpr milliseconds kEndPoll{50};
// An alert waits at most this long for the reader to take the last lines of a server that has gone.
constexpr milliseconds kDrainBound{500};
} // namespace

GameServerRun::GameServerRun(std::unique_ptr<ChildProcess> process, Setup setup, Services services, QObject* parent)
    : QObject(parent), process_(std::move(process)), setup_(std::move(setup)), s_(services), sampler_(s_.env->procDir),
      receiver_(std::make_shared<QueuedReceiver>(this)) {
    const AgentSettings settings = s_.settings->snapshot();
    const std::string& work = s_.env->workDir;
    const std::int64_t now = s_.env->clock->nowSeconds();
    makeDirectories(joinPath(work, "ServerLogs"));
    csvPath_ = !setup_.memoryCsvPath.empty() ? setup_.memoryCsvPath
                                             : joinPath(work, output_formats::memoryCsvName(setup_.setupName, now));
    if (settings.createCsvMemoryLog && !fileExists(csvPath_))
        memory_csv::append(csvPath_, memory_csv::kHeader);
    // A full log is not continued: the next run gets a file of its own.
    if (static_cast<std::uint64_t>(fileSize(setup_.runningLogPath).value_or(0)) >= s_.env->runningLogLimit)
        setup_.runningLogPath.clear();
    runningLogPath_ = !setup_.runningLogPath.empty()
                          ? setup_.runningLogPath
                          : joinPath(work, output_formats::runningLogName(setup_.setupName, now));
    if (settings.createRunningLog && !setup_.runningLogPath.empty()) {
        std::string note;
        output_formats::appendRunningLogLine(note, output_formats::timeStamp(now), 0, false,
                                             "The server crashed soon after its start and was started again");
        appendToFile(runningLogPath_, note);
    }

    OutputReader::Targets targets;
    targets.lines = s_.lines;
    targets.state = s_.state;
    targets.feeds = &feeds_;
    targets.log = s_.log;
    targets.clock = s_.env->clock;
    targets.runningLogPath = settings.createRunningLog ? runningLogPath_ : std::string();
    targets.showMemory = settings.showMemoryUsage;
    targets.settings = s_.settings;
    targets.runningLogLimit = s_.env->runningLogLimit;
    targets.linesAdded = [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (reader_)
                    reader_->acknowledge();
                emit outputChanged(true);
            },
            Qt::QueuedConnection);
    };
    // The pipe now belongs to the reader, which closes it when it ends.
    int fd = process_->outputFd();
    reader_ = std::make_unique<OutputReader>(::dup(fd), std::move(targets));
    process_->closeOutput();

    connect(&exitWatch_, &QTimer::timeout, this, &GameServerRun::watchExit);
    connect(&memoryTimer_, &QTimer::timeout, this, &GameServerRun::sampleMemory);
    cleanupTimer_.setSingleShot(true);
    connect(&cleanupTimer_, &QTimer::timeout, this, &GameServerRun::startCleanup);
    graceTimer_.setSingleShot(true);
    connect(&graceTimer_, &QTimer::timeout, this, &GameServerRun::finishCleanup);
    shutdownBound_.setSingleShot(true);
    connect(&shutdownBound_, &QTimer::timeout, this, [this] {
        s_.log->write("No answer from the shutdown request in time\n");
        onShutdownSent({AdminPortStopper::Result::ConnectFailed, {}});
    });
    connect(&reapTimer_, &QTimer::timeout, this, &GameServerRun::watchReap);
    connect(&endWatch_, &QTimer::timeout, this, &GameServerRun::watchEnd);
    connect(&alertWatch_, &QTimer::timeout, this, [this] {
        try {
            flushAlerts(false);
        } catch (...) {
        }
    });
    memoryTimer_.start(s_.env->memoryInterval);
    exitWatch_.start(s_.env->exitWatchInterval);
}

GameServerRun::~GameServerRun() {
    // A late answer from the admin port worker must not reach a deleted run.
    receiver_->release();
    if (ended_)
        return;
    // Torn down before its stop sequence ended (the agent itself is going): no waiting here, the process goes with
    // SIGKILL when ChildProcess is destroyed.
    try {
        endCapture();
        feeds_.endAll();
    } catch (...) {
    }
}

bool GameServerRun::processRunning() const {
    return process_ && process_->running();
}

std::uint64_t GameServerRun::linesRead() const {
    return reader_ ? reader_->linesRead() : 0;
}

const char* GameServerRun::stopButtonText() const {
    if (cleanedUp_)
        return "Server Stopped";
    return stopRequested_ ? "Stopping Server" : "Stop Server";
}

// An alert is the last word on a run for the list and for every feed that follows it, so it comes after the
// server's last lines: the reader, which ends by itself once the server has gone, is given a moment to take them.
void GameServerRun::addAlert(std::string text) {
    if (pendingAlerts_.empty())
        alertSince_ = std::chrono::steady_clock::now();
    pendingAlerts_.push_back({s_.env->clock->nowSeconds(), std::move(text), 0});
    flushAlerts(false);
}

void GameServerRun::flushAlerts(bool drained) {
    if (pendingAlerts_.empty())
        return;
    if (!drained && reader_ && !reader_->finished() && std::chrono::steady_clock::now() - alertSince_ < kDrainBound) {
        if (!alertWatch_.isActive())
            alertWatch_.start(kEndPoll);
        return;
    }
    alertWatch_.stop();
    for (const OutputLine& line : std::exchange(pendingAlerts_, {})) {
        s_.lines->append(line);
        feeds_.deliver(line);
    }
    emit outputChanged(true);
}

void GameServerRun::watchExit() {
    if (crashSeen_ || !process_ || !process_->poll().has_value())
        return;
    crashSeen_ = true;
    exitWatch_.stop();
    const std::int64_t now = s_.env->clock->nowSeconds();
    s_.state->addCrash();
    // Minutes since the server reported itself ready; a server that never did counts from its launch.
    std::int64_t since = s_.state->status() == ServerStatus::Running && s_.state->runningSince() >= setup_.launchTime
                             ? s_.state->runningSince()
                             : setup_.launchTime;
    s_.state->setStatus(ServerStatus::Crashed);
    addAlert(output_formats::crashAlert(now, (now - since) / 60));
    // The reader drains what the server printed last before the run is wound up.
    QTimer::singleShot(s_.env->crashSettle, this, [this] {
        stop();
        emit crashHandled();
    });
}

void GameServerRun::sampleMemory() {
    std::optional<ProcessMemory> m = process_ && process_->running() ? sampler_.process(process_->pid()) : std::nullopt;
    if (!m) {
        s_.state->setCurrentRamK(0);
        return;
    }
    const AgentSettings settings = s_.settings->snapshot();
    if (settings.createCsvMemoryLog)
        memory_csv::append(csvPath_, memory_csv::row(s_.env->clock->nowSeconds(), *m, sampler_.system()));
    peakPageFile_ = std::max(peakPageFile_, m->pageFile);
    MemoryFigures f;
    f.ramK = static_cast<std::int32_t>(m->workingSet / 1024);
    f.peakRamK = static_cast<std::int32_t>(m->peakWorkingSet / 1024);
    f.pageFileK = static_cast<std::int32_t>(m->pageFile / 1024);
    f.peakPageFileK = static_cast<std::int32_t>(peakPageFile_ / 1024);
    s_.state->setMemory(f);
}

void GameServerRun::stop() {
    if (closed_ || stopRequested_)
        return;
    exitWatch_.stop();
    s_.state->setStatus(ServerStatus::Stopped);
    stopRequested_ = true;
    emit stopStateChanged();
    const AgentSettings settings = s_.settings->snapshot();
    AdminPortStopper stopper(settings.serverIp, s_.env->adminPort, s_.env->adminConnectTimeout);
    awaitingShutdown_ = true;
    shutdownBound_.start(s_.env->adminConnectTimeout + milliseconds(1000));
    stopper.sendShutdownLater(receiver_, [this](const AdminPortStopper::Outcome& outcome) {
        try {
            onShutdownSent(outcome);
        } catch (...) {
        }
    });
}

void GameServerRun::onShutdownSent(const AdminPortStopper::Outcome& outcome) {
    // Only the first answer counts: the worker's, or the bound's when the worker is late.
    if (!awaitingShutdown_)
        return;
    awaitingShutdown_ = false;
    shutdownBound_.stop();
    for (const std::string& line : outcome.logLines)
        s_.log->writeText(line);
    shutdownSent_ = outcome.result == AdminPortStopper::Result::Sent;
    // A run being closed need not wait for a server that has already gone.
    const bool gone = closed_ && !processRunning();
    cleanupTimer_.start(gone            ? milliseconds(0)
                        : shutdownSent_ ? s_.env->cleanupAfterSend
                                        : s_.env->cleanupAfterFailure);
}

void GameServerRun::startCleanup() {
    s_.log->write("Cleaning up shutdown");
    cleanedUp_ = true;
    exitWatch_.stop();
    cleanupTimer_.stop();
    emit stopStateChanged();
    // After a crash the agent may wait before the restart; until then the server is shown as Crashed.
    if (!crashSeen_)
        s_.state->setStatus(ServerStatus::Stopped);
    if (processRunning()) {
        process_->terminate();
        graceTimer_.start(s_.env->stopGrace);
        return;
    }
    finishCleanup();
}

void GameServerRun::finishCleanup() {
    graceTimer_.stop();
    if (processRunning()) {
        process_->kill();
        killedAt_ = std::chrono::steady_clock::now();
        reapTimer_.start(kReapPoll);
        return;
    }
    sequenceDone();
}

void GameServerRun::watchReap() {
    if (processRunning() && std::chrono::steady_clock::now() - killedAt_ < kReapBound)
        return;
    reapTimer_.stop();
    sequenceDone();
}

void GameServerRun::sequenceDone() {
    if (sequenceDone_)
        return;
    sequenceDone_ = true;
    if (!crashSeen_)
        addAlert(output_formats::userStopAlert(s_.env->clock->nowSeconds()));
    if (closed_)
        finishClose();
}

void GameServerRun::endCapture() {
    if (reader_) {
        reader_->stop();
        reader_.reset();
    }
}

std::chrono::milliseconds GameServerRun::longestClose() const {
    const auto& e = *s_.env;
    return e.adminConnectTimeout + milliseconds(1000) + std::max(e.cleanupAfterSend, e.cleanupAfterFailure) +
           e.stopGrace + kReapBound;
}

void GameServerRun::close() {
    if (closed_)
        return;
    if (!stopRequested_)
        stop();
    closed_ = true;
    exitWatch_.stop();
    memoryTimer_.stop();
    if (sequenceDone_) {
        finishClose();
        return;
    }
    endWatch_.start(kEndPoll);
}

void GameServerRun::watchEnd() {
    if (processRunning())
        return;
    // Gone during a wait: the clean-up (and its alert) follows now rather than when the timer would have fired.
    if (cleanupTimer_.isActive())
        startCleanup();
    else if (graceTimer_.isActive())
        finishCleanup();
    else if (reapTimer_.isActive())
        watchReap();
}

void GameServerRun::finishClose() {
    if (ended_)
        return;
    ended_ = true;
    endWatch_.stop();
    cleanupTimer_.stop();
    graceTimer_.stop();
    shutdownBound_.stop();
    reapTimer_.stop();
    if (process_ && process_->started())
        process_->closeInput();
    endCapture();
    flushAlerts(true); // before the feeds end, so that each feed's last line is the run's alert
    feeds_.endAll();
    s_.lines->clear();
    emit outputChanged(true);
    emit runEnded();
}

} // namespace kv::agent
