#pragma once

#include "agent/AccessLog.h"
#include "agent/AgentEnvironment.h"
#include "agent/AgentLog.h"
#include "agent/ControlFile.h"
#include "agent/CrashBackoff.h"
#include "agent/OutputLineList.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

namespace kv::agent {

class GameServerRun;

// What the main window shows; kept by the core so that a window and the headless mode see the same texts.
struct AgentDisplay {
    std::string statusText = "Never Started"; // "Server Status:" (status word, or a transient text)
    std::string activeSetup;                  // "Active Server Setup:"
    std::string currentMap;                   // "Current Map:"
    std::string commandLine;                  // "Server Command:"
    std::string upTime = "N/A";               // "Server Up Time:"
    std::string memoryUsage = "N/A";          // "Server Memory Usage (Now/Peak):"
    std::string pagingUsage = "N/A";          // "Paging Usage (Now/Peak):"
    std::string failures = "0";               // "Server Failures:"
};

// The agent's core on the main thread: settings, supervision, the game server run with its output line list, the
// access log and the agent log. Other threads read figures (atomics, copies) and change state only through
// requestServerControl(), which the main thread carries out.
class Agent : public QObject {
    Q_OBJECT
public:
    Agent(AgentEnvironment env, AgentSettings settings, QObject* parent = nullptr);
    ~Agent() override;

    // Main window initialisation without the window: start the server when a control file is active, then the
    // supervision tick.
    void begin();
    // Shutdown: save the settings, stop and end the run, tell the listener to close (aboutToShutDown), then run the
    // event loop until the run has ended (bounded by its longest stop sequence). False when the settings could not
    // be saved (the agent log says why); later calls give the first call's answer.
    bool shutDown();
    bool shuttingDown() const { return shuttingDown_.load(); }

    // Main thread. Start: end an existing run, then start from the active control file once that run has ended.
    // Stop: the stop sequence.
    void serverControl(bool start);
    // Any thread: asks the main thread for serverControl and waits for it, at most `bound`, never once shutdown
    // has begun. True when the main thread carried it out.
    bool requestServerControl(bool start, std::chrono::milliseconds bound = std::chrono::milliseconds(30000));
    // Main thread ("Restart Server Now", Select Setup, the daily restart).
    void requestRestart();
    // Main thread: ends the current run (its monitor window was closed): stop sequence, clean-up, lines emptied,
    // all on timers; endingRun() holds it until it has ended.
    void closeRun() { endRun(); }
    // Main thread: makes `fileName` the active control file (Select Setup), logs it and restarts.
    void selectControlFile(const std::string& fileName);
    // Saves the settings file; false (with the reason in the agent log and `error`) when it cannot be written.
    bool saveSettings(std::string* error = nullptr);
    // One supervision tick (the timer calls it; tests may call it directly).
    void tick();

    // Clock second at which a crashed server is started again, or 0 when no such restart waits.
    std::int64_t crashRestartAt() const { return crashRestartAt_; }
    SettingsStore& settings() { return settings_; }
    SupervisionState& state() { return state_; }
    const SupervisionState& state() const { return state_; }
    AccessLog& accessLog() { return access_; }
    AgentLog& log() { return log_; }
    OutputLineList& outputLines() { return lines_; }
    const AgentEnvironment& environment() const { return env_; }
    bool showFailures() const { return env_.showFailures; }
    // A copy of the active configuration (any thread).
    ActiveConfiguration activeConfiguration() const;
    // The current run (main thread only), or null.
    GameServerRun* run() const;
    // A run that was closed and has not ended yet (main thread only), or null. No run starts while there is one.
    GameServerRun* endingRun() const;
    AgentDisplay display() const;
    std::string settingsPath() const;

signals:
    // A display text changed (status, setup, map, command line, up-time, memory).
    void displayChanged();
    // A run began (or ended, with null); views attach to it.
    void runChanged(kv::agent::GameServerRun* run);
    // Emitted once by shutDown() before the run ends: the listener closes its socket.
    void aboutToShutDown();

private:
    void startServer(bool afterCrash = false);
    void endRun();
    void onRunEnded(GameServerRun* run);
    void setStatusText(const std::string& text);
    void updateDisplay(const std::function<void(AgentDisplay&)>& change);
    void onCrashHandled(GameServerRun* run);
    void reportCrashWait(std::int64_t wait, std::int64_t ranSeconds);

    AgentEnvironment env_;
    SettingsStore settings_;
    SupervisionState state_;
    AgentLog log_;
    AccessLog access_;
    OutputLineList lines_;
    mutable std::mutex configMutex_;
    ActiveConfiguration config_;
    mutable std::mutex displayMutex_;
    AgentDisplay display_;
    QPointer<GameServerRun> run_;
    QPointer<GameServerRun> ending_;
    // A start that waits for the ending run: 0 none, 1 a start, 2 a start after a crash.
    int startAfterEnd_ = 0;
    QTimer tickTimer_;
    std::atomic<bool> shuttingDown_{false};
    bool savedAtExit_ = true;
    CrashBackoff backoff_;
    std::int64_t crashRestartAt_ = 0;
    // The logs of a run that crashed within its first minute, which its successor goes on with.
    std::string continuedLog_;
    std::string continuedCsv_;
};

} // namespace kv::agent
