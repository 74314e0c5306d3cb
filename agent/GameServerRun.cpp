#include "agent/GameServerRun.h"

#include "agent/AdminPortStopper.h"
#include "agent/AgentLog.h"
#include "agent/MemoryCsvLog.h"
#include "agent/OutputFormats.h"
#include "agent/OutputLineList.h"
#include "agent/OutputReader.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"

#include "common/Files.h"

#include <signal.h>
#include <unistd.h>

namespace kv::agent {

GameServerRun::GameServerRun(std::unique_ptr<ChildProcess> process, Setup setup, Services services, QObject* parent)
    : QObject(parent), process_(std::move(process)), setup_(std::move(setup)), s_(services),
      sampler_(s_.env->procDir) {
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
    memoryTimer_.start(s_.env->memoryInterval);
    exitWatch_.start(s_.env->exitWatchInterval);
}

GameServerRun::~GameServerRun() {
    try {
        close();
    } catch (...) {
    }
}

bool GameServerRun::processRunning() const { return process_ && process_->running(); }

std::uint64_t GameServerRun::linesRead() const { return reader_ ? reader_->linesRead() : 0; }

const char* GameServerRun::stopButtonText() const {
    if (cleanedUp_)
        return "Server Stopped";
    return stopRequested_ ? "Stopping Server" : "Stop Server";
}

void GameServerRun::addAlert(const std::string& text) {
    s_.lines->append(s_.env->clock->nowSeconds(), text, 0);
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
    std::optional<ProcessMemory> m = process_ && process_->running() ? sampler_.process(process_->pid())
                                                                      : std::nullopt;
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
    if (closed_)
        return;
    exitWatch_.stop();
    s_.state->setStatus(ServerStatus::Stopped);
    stopRequested_ = true;
    emit stopStateChanged();
    const AgentSettings settings = s_.settings->snapshot();
    AdminPortStopper stopper(*s_.log, settings.serverIp, s_.env->adminPort, s_.env->adminConnectTimeout);
    shutdownSent_ = stopper.sendShutdown() == AdminPortStopper::Result::Sent;
    cleanupTimer_.start(shutdownSent_ ? s_.env->cleanupAfterSend : s_.env->cleanupAfterFailure);
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
    if (processRunning()) {
        process_->kill();
        process_->waitFor(std::chrono::milliseconds(1000));
    }
    if (!crashSeen_)
        addAlert(output_formats::userStopAlert(s_.env->clock->nowSeconds()));
}

void GameServerRun::endCapture() {
    if (reader_) {
        reader_->stop();
        reader_.reset();
    }
}

void GameServerRun::close() {
    if (closed_)
        return;
    if (!stopRequested_)
        stop();
    exitWatch_.stop();
    memoryTimer_.stop();
    cleanupTimer_.stop();
    graceTimer_.stop();
    closed_ = true;
    if (process_ && process_->started()) {
        if (!process_->poll()) {
            process_->waitFor(shutdownSent_ ? s_.env->cleanupAfterSend : s_.env->cleanupAfterFailure);
        }
        if (!process_->poll()) {
            process_->terminate();
            process_->waitFor(s_.env->stopGrace);
        }
        if (!process_->poll()) {
            process_->kill();
            process_->waitFor(std::chrono::milliseconds(2000));
        }
        process_->closeInput();
    }
    endCapture();
    feeds_.endAll();
    s_.lines->clear();
    emit outputChanged(true);
}

} // namespace kv::agent
