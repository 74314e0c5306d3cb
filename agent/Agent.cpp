#include "agent/Agent.h"

#include "agent/GameServerRun.h"
#include "agent/ServerLauncher.h"
#include "agent/SettingsFile.h"

#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"

#include <QEventLoop>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <utility>

namespace kv::agent {

namespace {
constexpr const char* kNoControlFileText =
    "No command line option specified (Use \"/ControlFileName=<controlfilename>\" to specifyi control file to use "
    "on startup)";
constexpr std::int64_t kRestartGuardSeconds = 120;
} // namespace

Agent::Agent(AgentEnvironment env, AgentSettings settings, QObject* parent)
    : QObject(parent), env_(std::move(env)), settings_(std::move(settings)), log_(env_.workDir, *env_.clock),
      lines_(settings_.snapshot().maxConsoleLoggingRamInK) {
    connect(&tickTimer_, &QTimer::timeout, this, &Agent::tick);
}

Agent::~Agent() {
    // Runs still going are torn down hard here (SIGKILL), while the members they use still exist.
    for (QPointer<GameServerRun>* p : {&run_, &ending_}) {
        GameServerRun* r = p->data();
        *p = nullptr;
        delete r;
    }
}

GameServerRun* Agent::run() const { return run_.data(); }

GameServerRun* Agent::endingRun() const { return ending_.data(); }

std::string Agent::settingsPath() const { return joinPath(env_.workDir, settings_file::kFileName); }

ActiveConfiguration Agent::activeConfiguration() const {
    std::lock_guard lock(configMutex_);
    return config_;
}

AgentDisplay Agent::display() const {
    std::lock_guard lock(displayMutex_);
    return display_;
}

void Agent::updateDisplay(const std::function<void(AgentDisplay&)>& change) {
    bool changed = false;
    {
        std::lock_guard lock(displayMutex_);
        AgentDisplay before = display_;
        change(display_);
        changed = before.statusText != display_.statusText || before.activeSetup != display_.activeSetup ||
                  before.currentMap != display_.currentMap || before.commandLine != display_.commandLine ||
                  before.upTime != display_.upTime || before.memoryUsage != display_.memoryUsage ||
                  before.pagingUsage != display_.pagingUsage || before.failures != display_.failures;
    }
    if (changed)
        emit displayChanged();
}

void Agent::setStatusText(const std::string& text) {
    updateDisplay([&](AgentDisplay& d) { d.statusText = text; });
}

void Agent::begin() {
    if (!settings_.snapshot().activeControlFile.empty()) {
        startServer();
    } else {
        updateDisplay([](AgentDisplay& d) {
            d.currentMap = "N/A";
            d.activeSetup = "None";
            d.statusText = kNoControlFileText;
        });
    }
    tickTimer_.start(env_.tickInterval);
}

void Agent::startServer(bool afterCrash) {
    if (shuttingDown_)
        return;
    crashRestartAt_ = 0;
    endRun();
    if (ending_) {
        // Never two servers at once: this start follows when the ending run reports its end.
        startAfterEnd_ = afterCrash ? 2 : 1;
        setStatusText("Waiting for server to terminate before restarting.");
        return;
    }
    startAfterEnd_ = 0;
    const AgentSettings settings = settings_.snapshot();
    lines_.setMaxConsoleLoggingRamInK(settings.maxConsoleLoggingRamInK);
    ActiveConfiguration config = activeConfiguration();
    ServerLauncher launcher(env_, log_, access_, state_);
    LaunchResult result = launcher.launch(settings, config);
    {
        std::lock_guard lock(configMutex_);
        config_ = config;
    }
    if (result.outcome == LaunchResult::Outcome::ControlFileUnreadable ||
        result.outcome == LaunchResult::Outcome::MapMissing) {
        setStatusText(statusWord(state_.status()));
        return;
    }
    updateDisplay([&](AgentDisplay& d) {
        d.commandLine = result.commandLine;
        d.activeSetup = config.name;
        d.currentMap = config.map;
        d.statusText = statusWord(state_.status());
    });
    if (result.outcome != LaunchResult::Outcome::Started)
        return;
    GameServerRun::Services services{&env_, &settings_, &state_, &lines_, &log_};
    GameServerRun::Setup setup{config.name, result.launchTime, {}, {}};
    if (afterCrash) {
        setup.runningLogPath = continuedLog_;
        setup.memoryCsvPath = continuedCsv_;
    }
    continuedLog_.clear();
    continuedCsv_.clear();
    auto* run = new GameServerRun(std::move(result.process), std::move(setup), services, this);
    run_ = run;
    // A crash reported after its run was replaced must not restart the successor.
    connect(run, &GameServerRun::crashHandled, this, [this, run] { onCrashHandled(run); }, Qt::QueuedConnection);
    emit runChanged(run);
}

void Agent::endRun() {
    if (!run_)
        return;
    GameServerRun* r = run_.data();
    run_ = nullptr;
    ending_ = r;
    connect(r, &GameServerRun::runEnded, this, [this, r] { onRunEnded(r); });
    emit runChanged(nullptr);
    // May report the end at once, when the run's stop sequence had already finished.
    r->close();
}

void Agent::onRunEnded(GameServerRun* run) {
    if (run != ending_.data())
        return;
    ending_ = nullptr;
    run->deleteLater();
    const int start = std::exchange(startAfterEnd_, 0);
    if (start != 0 && !shuttingDown_)
        startServer(start == 2);
}

void Agent::onCrashHandled(GameServerRun* run) {
    if (shuttingDown_ || run != run_.data())
        return;
    const std::int64_t now = env_.clock->nowSeconds();
    const std::int64_t ran = now - run->launchTime();
    const std::int64_t before = backoff_.wait();
    const std::int64_t wait = backoff_.crashed(ran);
    if (wait != before)
        reportCrashWait(wait, ran);
    // A run that crashed at once says little; its successors write on in the same files instead of new ones.
    if (ran < CrashBackoff::kQuickRunSeconds) {
        continuedLog_ = run->runningLogPath();
        continuedCsv_ = run->memoryCsvPath();
    }
    if (wait == 0) {
        setStatusText("Stopped");
        startServer(true);
        return;
    }
    state_.setStatus(ServerStatus::Crashed);
    setStatusText(statusWord(ServerStatus::Crashed));
    crashRestartAt_ = now + wait;
}

void Agent::reportCrashWait(std::int64_t wait, std::int64_t ranSeconds) {
    std::string text =
        wait == 0 ? format("The game server ran %lld seconds before it crashed; crash restarts are immediate again",
                           static_cast<long long>(ranSeconds))
                  : format("The game server crashed %d times in a row within %lld seconds of its start; it is "
                           "started again after %lld seconds",
                           backoff_.quickCrashes(), static_cast<long long>(CrashBackoff::kQuickRunSeconds),
                           static_cast<long long>(wait));
    access_.append(text);
    log_.writeText(text);
}

void Agent::serverControl(bool start) {
    if (shuttingDown_)
        return;
    if (start) {
        startServer();
        return;
    }
    // A start still waiting for the previous server to end is called off too.
    startAfterEnd_ = 0;
    if (crashRestartAt_ != 0) {
        // The crashed server is gone already; stopping only cancels its restart.
        crashRestartAt_ = 0;
        state_.setStatus(ServerStatus::Stopped);
        setStatusText(statusWord(ServerStatus::Stopped));
        return;
    }
    setStatusText("Stopping");
    if (run_)
        run_->stop();
}

bool Agent::requestServerControl(bool start, std::chrono::milliseconds bound) {
    if (shuttingDown_)
        return false;
    if (QThread::currentThread() == thread()) {
        serverControl(start);
        return true;
    }
    struct Completion {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
    };
    auto completion = std::make_shared<Completion>();
    QMetaObject::invokeMethod(
        this,
        [this, start, completion] {
            serverControl(start);
            std::lock_guard lock(completion->mutex);
            completion->finished = true;
            completion->done.notify_all();
        },
        Qt::QueuedConnection);
    auto deadline = std::chrono::steady_clock::now() + bound;
    std::unique_lock lock(completion->mutex);
    while (!completion->finished) {
        // Never wait for a main thread that has begun to shut down: it may never get to the request.
        if (shuttingDown_ || std::chrono::steady_clock::now() >= deadline)
            return false;
        completion->done.wait_for(lock, std::chrono::milliseconds(100));
    }
    return true;
}

void Agent::requestRestart() {
    state_.setLastRestartRequest(env_.clock->nowSeconds());
    if (run_)
        QMetaObject::invokeMethod(this, [this] { endRun(); }, Qt::QueuedConnection);
    setStatusText("Waiting for server to terminate before restarting.");
    state_.setRestartPending(true);
}

void Agent::selectControlFile(const std::string& fileName) {
    std::string title(baseName(fileName));
    if (auto dot = title.rfind('.'); dot != std::string::npos)
        title.erase(dot);
    std::string active = title + ".Control";
    settings_.update([&](AgentSettings& s) { s.activeControlFile = active; });
    std::string text = format("Selected new control file \"%s\"", active.c_str());
    access_.append(text);
    log_.writeText(text);
    requestRestart();
}

bool Agent::saveSettings(std::string* error) {
    std::string reason;
    if (settings_file::save(settingsPath(), settings_.snapshot(), &reason))
        return true;
    log_.writeText(std::string(settings_file::kSaveFailedText) + " (" + reason + ")\n");
    if (error)
        *error = reason;
    return false;
}

void Agent::tick() {
    if (shuttingDown_)
        return;
    const AgentSettings settings = settings_.snapshot();
    const std::int64_t now = env_.clock->nowSeconds();
    if (settings.timedAutoRestartServer) {
        LocalTime t = toLocalTime(now);
        if (t.hour * 60 + t.minute == settings.timeOfDayInMinutesToRestartServer &&
            now - state_.lastRestartRequest() > kRestartGuardSeconds) {
            log_.write("Trying to restart server based on automatic restart time\n");
            requestRestart();
        }
    }
    if (crashRestartAt_ != 0 && now >= crashRestartAt_) {
        log_.write("Starting the game server again after its crash\n");
        startServer(true);
    }
    if (state_.restartPending()) {
        if (run_ || ending_) {
            setStatusText("Still waiting for server to terminate before restarting.");
            return;
        }
        log_.write("Server stopped for automatic restart, starting it now.\n");
        state_.setRestartPending(false);
        startServer();
    }
    const ServerStatus status = state_.status();
    const bool counting = status == ServerStatus::Starting || status == ServerStatus::Running;
    if (counting)
        state_.addUpTimeSecond();
    const MemoryFigures m = state_.memory();
    updateDisplay([&](AgentDisplay& d) {
        if (settings.showMemoryUsage) {
            d.memoryUsage = format("%ldK/%ldK", static_cast<long>(m.ramK), static_cast<long>(m.peakRamK));
            d.pagingUsage = format("%ldK/%ldK", static_cast<long>(m.pageFileK), static_cast<long>(m.peakPageFileK));
        }
        d.statusText = statusWord(status);
        d.failures = format("%d", state_.crashCount());
        if (counting)
            d.upTime = format("%4.1f Minutes", state_.upTimeSeconds() / 60.0);
    });
}

bool Agent::shutDown() {
    if (shuttingDown_.exchange(true))
        return savedAtExit_;
    tickTimer_.stop();
    savedAtExit_ = saveSettings();
    startAfterEnd_ = 0;
    endRun();
    emit aboutToShutDown();
    if (GameServerRun* r = ending_.data()) {
        // The event loop goes on (timers, the admin port's answer) while the run ends; the bound covers a sequence
        // that hangs, after which the destructor's SIGKILL remains.
        QEventLoop loop;
        connect(r, &GameServerRun::runEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(r->longestClose() + std::chrono::milliseconds(2000), &loop, &QEventLoop::quit);
        if (!r->hasEnded())
            loop.exec();
    }
    return savedAtExit_;
}

} // namespace kv::agent
