// The agent core in this process against the simulator: supervision, stop sequence, crash restart, daily restart.
#include "agent/Agent.h"
#include "agent/GameServerRun.h"
#include "agent/SettingsFile.h"

#include "common/Files.h"
#include "common/LocalTime.h"

#include "tests/agent/AgentTestHost.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <thread>

using namespace kv;
using namespace kv::agent;
using namespace std::chrono_literals;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_agent_core";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

class SettableClock : public Clock {
public:
    std::int64_t nowSeconds() const override {
        std::int64_t fixed = fixed_.load();
        return fixed != 0 ? fixed : currentSeconds();
    }
    void set(std::int64_t t) { fixed_.store(t); }

private:
    std::atomic<std::int64_t> fixed_{0};
};

// Today at hh:mm:ss local time.
std::int64_t todayAt(int hour, int minute, int second) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&t));
}

// Runs the event loop until `done` or the time-out.
bool pump(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (done())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return done();
}

bool listHas(Agent& agent, const std::string& text) {
    for (const auto& line : agent.outputLines().all())
        if (line.text.find(text) != std::string::npos)
            return true;
    return false;
}

// Ended: no such process, or one that has ended and waits to be reaped by its owner.
bool ended(pid_t pid) {
    if (::kill(pid, 0) != 0)
        return true;
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat").value_or("");
    std::size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class AgentCore : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ASSERT_TRUE(host.ok()) << host.error();
    }

    std::unique_ptr<Agent> makeAgent(AgentSettings settings) {
        AgentEnvironment env;
        env.workDir = host.workFolder();
        env.clock = &clock;
        env.adminPort = host.adminPort();
        env.tickInterval = 3600s; // tests tick by hand
        env.exitWatchInterval = 50ms;
        env.memoryInterval = 100ms;
        env.crashSettle = 500ms;
        env.cleanupAfterSend = 300ms;
        env.cleanupAfterFailure = 100ms;
        env.stopGrace = 300ms;
        return std::make_unique<Agent>(env, settings);
    }

    bool running(Agent& agent) { return agent.state().status() == ServerStatus::Running && agent.run(); }

    test::AgentTestHost host;
    SettableClock clock;
};

} // namespace

TEST_F(AgentCore, StartsRunsAndStopsThroughTheAdminPort) {
    AgentSettings settings = host.settings();
    settings.createCsvMemoryLog = true;
    auto agent = makeAgent(settings);
    agent->begin();
    ASSERT_TRUE(pump([&] { return running(*agent); })) << statusWord(agent->state().status());
    EXPECT_GT(agent->state().runningSince(), 0);
    EXPECT_EQ(agent->display().activeSetup, "Duel");
    EXPECT_EQ(agent->display().currentMap, "Harbor.kvo");
    EXPECT_EQ(agent->activeConfiguration().description, "Test\n");
    ASSERT_TRUE(pump([&] { return agent->state().memory().ramK > 0; }, 5s));

    GameServerRun* run = agent->run();
    const pid_t pid = run->pid();
    agent->serverControl(false);
    EXPECT_EQ(agent->display().statusText, "Stopping");
    EXPECT_EQ(agent->state().status(), ServerStatus::Stopped);
    EXPECT_STREQ(run->stopButtonText(), "Stopping Server");
    ASSERT_TRUE(pump([&] { return listHas(*agent, "ALERT - Server Stopped By User"); }, 10s));
    EXPECT_STREQ(run->stopButtonText(), "Server Stopped");
    EXPECT_FALSE(run->processRunning());
    EXPECT_TRUE(ended(pid)); // not left behind
    EXPECT_EQ(agent->state().crashCount(), 0);

    const std::string log = host.agentLogText();
    EXPECT_NE(log.find(" - Created shutdown socket\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - Shutdown socket blocking set 1\n"), std::string::npos);
    EXPECT_NE(log.find(" - Shutdown socket connection result: 1\n"), std::string::npos);
    EXPECT_NE(log.find(" - Transmitted shutdown command result 9\n"), std::string::npos);
    EXPECT_NE(log.find(" - Cleaning up shutdown"), std::string::npos);

    // The run's logs: the running log has every line without a blank before the "-", the CSV a header and rows.
    std::string running = host.readWork("ServerLogs/" + host.serverLog("Duel Server Log File at"));
    EXPECT_NE(running.find("- Init: Game engine initialized"), std::string::npos) << running;
    EXPECT_EQ(running.find(" - Init:"), std::string::npos);
    EXPECT_NE(running.find("\r\n"), std::string::npos);
    std::string csv = host.readWork("ServerLogs/" + host.serverLog("Duel Server Memory Log at"));
    ASSERT_EQ(csv.rfind("Date/Time,Time Stamp,Process RAM In Use,", 0), 0u) << csv;
    EXPECT_GE(countOf(csv, "\n"), 2u);
}

TEST_F(AgentCore, ACrashIsCountedAlertedAndRestarted) {
    ASSERT_TRUE(host.simulator({{"KVSIM_CRASH_AFTER", "1"}, {"KVSIM_CRASH_CODE", "7"}}));
    auto agent = makeAgent(host.settings());
    agent->begin();
    ASSERT_TRUE(pump([&] { return agent->state().status() == ServerStatus::Crashed; }));
    EXPECT_EQ(agent->state().crashCount(), 1);
    // The alert follows the server's last lines, which the reader may still be taking.
    EXPECT_TRUE(
        pump([&] { return listHas(*agent, "ALERT - Server Stopped By Crash Or Task Manager after 0 minutes"); }));
    // The crashed server is wound up and started again with the same control file.
    ASSERT_TRUE(pump([&] { return countOf(host.readWork("DEBUG.txt"), "Command Line: ") == 2; }));
    ASSERT_TRUE(pump([&] { return agent->state().status() == ServerStatus::Starting || running(*agent); }));
    EXPECT_EQ(agent->state().crashCount(), 1);
    EXPECT_NE(host.agentLogText().find("Failure connecting to server KVSM interface\n"), std::string::npos);
    agent->shutDown();
}

TEST_F(AgentCore, QuickCrashesWaitLongerAsCrashedAndShareOneRunningLog) {
    ASSERT_TRUE(host.simulator({{"KVSIM_CRASH_AFTER", "0.3"}}));
    const std::int64_t t0 = currentSeconds();
    clock.set(t0);
    auto agent = makeAgent(host.settings());
    agent->begin();
    auto starts = [&] { return countOf(host.readWork("DEBUG.txt"), "Command Line: "); };
    auto waiting = [&] { return agent->crashRestartAt() != 0; };
    // The first crash restarts at once, as designed; the second waits 5 s of the agent's clock.
    ASSERT_TRUE(pump([&] { return starts() == 2; }, 15s));
    ASSERT_TRUE(pump(waiting, 15s));
    EXPECT_EQ(agent->crashRestartAt(), t0 + 5);
    EXPECT_EQ(agent->state().crashCount(), 2);
    // The crashed run's clean-up leaves it shown as Crashed, without a stop alert, until the wait is over.
    GameServerRun* crashed = agent->run();
    ASSERT_NE(crashed, nullptr);
    ASSERT_TRUE(pump([&] { return std::string(crashed->stopButtonText()) == "Server Stopped"; }));
    clock.set(t0 + 4);
    agent->tick();
    EXPECT_EQ(starts(), 2);
    EXPECT_EQ(agent->state().status(), ServerStatus::Crashed);
    EXPECT_EQ(agent->display().statusText, "Crashed");
    EXPECT_FALSE(listHas(*agent, "Server Stopped By User"));
    clock.set(t0 + 5);
    agent->tick();
    EXPECT_EQ(starts(), 3);
    EXPECT_FALSE(waiting());

    ASSERT_TRUE(pump(waiting, 15s));
    EXPECT_EQ(agent->crashRestartAt(), t0 + 15);
    clock.set(t0 + 15);
    agent->tick();
    // The crashed run may still be in its stop sequence: the next one starts once it has ended.
    ASSERT_TRUE(pump([&] { return starts() == 4; }));
    // This run lasts a minute before it crashes: the next start comes at once again, into a log of its own.
    clock.set(t0 + 75);
    ASSERT_TRUE(pump([&] { return starts() == 5; }, 15s));

    const std::string log = host.agentLogText();
    EXPECT_EQ(countOf(log, "crashed 2 times in a row within 60 seconds of its start; it is started again after 5 "
                           "seconds\n"),
              1u)
        << log;
    EXPECT_EQ(countOf(log, "crashed 3 times in a row within 60 seconds of its start; it is started again after 10 "
                           "seconds\n"),
              1u)
        << log;
    EXPECT_EQ(countOf(log, "ran 60 seconds before it crashed; crash restarts are immediate again\n"), 1u) << log;
    std::vector<std::string> logs;
    auto runningLogs = [&] {
        logs.clear();
        for (const auto& name : listDirectory(joinPath(host.workFolder(), "ServerLogs")))
            if (name.find("Server Log File") != std::string::npos)
                logs.push_back(name);
        return logs.size();
    };
    // The fifth run's log appears with its first line.
    ASSERT_TRUE(pump([&] { return runningLogs() == 2; }, 15s)) << logs.size();
    std::size_t notes = 0;
    for (const auto& name : logs)
        notes += countOf(host.readWork("ServerLogs/" + name),
                         "- The server crashed soon after its start and was started again\r\n");
    EXPECT_EQ(notes, 3u); // runs 2, 3 and 4 went on with the first run's log
    agent->shutDown();
}

TEST_F(AgentCore, AServerThatIgnoresShutdownIsKilledAfterTheGraceTime) {
    ASSERT_TRUE(host.simulator({{"KVSIM_IGNORE_SHUTDOWN", "1"}, {"KVSIM_IGNORE_SIGTERM", "1"}}));
    auto agent = makeAgent(host.settings());
    agent->begin();
    ASSERT_TRUE(pump([&] { return running(*agent); }));
    GameServerRun* run = agent->run();
    const auto started = std::chrono::steady_clock::now();
    agent->serverControl(false);
    EXPECT_TRUE(run->processRunning()); // SHUTDOWN was ignored
    ASSERT_TRUE(pump([&] { return !run->processRunning(); }, 5s));
    // Clean-up after 300 ms, SIGTERM ignored, SIGKILL after 300 ms more.
    EXPECT_GE(std::chrono::steady_clock::now() - started, 550ms);
    ASSERT_TRUE(pump([&] { return listHas(*agent, "ALERT - Server Stopped By User"); }));
    EXPECT_EQ(agent->state().crashCount(), 0);
    EXPECT_EQ(agent->state().status(), ServerStatus::Stopped);
}

TEST_F(AgentCore, ClosingARunEndsAStubbornServerToo) {
    ASSERT_TRUE(host.simulator({{"KVSIM_IGNORE_SHUTDOWN", "1"}, {"KVSIM_IGNORE_SIGTERM", "1"}}));
    auto agent = makeAgent(host.settings());
    agent->begin();
    ASSERT_TRUE(pump([&] { return running(*agent); }));
    const pid_t pid = agent->run()->pid();
    agent->shutDown();
    EXPECT_EQ(agent->run(), nullptr);
    EXPECT_TRUE(ended(pid));
    EXPECT_EQ(agent->outputLines().size(), 0u); // closing empties the output line list
    EXPECT_FALSE(agent->requestServerControl(true, 1s));
}

TEST_F(AgentCore, DailyRestartHappensOncePerMatchingMinute) {
    AgentSettings settings = host.settings();
    settings.timedAutoRestartServer = true;
    settings.timeOfDayInMinutesToRestartServer = 180;
    clock.set(todayAt(2, 59, 59));
    auto agent = makeAgent(settings);
    agent->begin();
    ASSERT_TRUE(pump([&] { return running(*agent); }));
    GameServerRun* first = agent->run();
    agent->tick();
    EXPECT_FALSE(agent->state().restartPending());

    clock.set(todayAt(3, 0, 0));
    agent->tick();
    EXPECT_TRUE(agent->state().restartPending());
    EXPECT_EQ(agent->state().lastRestartRequest(), todayAt(3, 0, 0));
    ASSERT_TRUE(pump([&] { return agent->run() == nullptr && agent->endingRun() == nullptr; }));
    clock.set(todayAt(3, 0, 1));
    agent->tick();
    EXPECT_FALSE(agent->state().restartPending());
    ASSERT_NE(agent->run(), nullptr);
    EXPECT_NE(agent->run(), first);
    ASSERT_TRUE(pump([&] { return running(*agent); }));

    for (int s = 2; s < 60; s += 7) {
        clock.set(todayAt(3, 0, s));
        agent->tick();
        EXPECT_FALSE(agent->state().restartPending()) << "second " << s;
    }
    const std::string log = host.agentLogText();
    EXPECT_EQ(countOf(log, "Trying to restart server based on automatic restart time\n"), 1u);
    EXPECT_EQ(countOf(log, "Server stopped for automatic restart, starting it now.\n"), 1u);

    // A restart time outside the day never matches.
    agent->settings().update([](AgentSettings& s) { s.timeOfDayInMinutesToRestartServer = 1440 + 180; });
    clock.set(todayAt(3, 0, 0) + 86400);
    agent->tick();
    EXPECT_FALSE(agent->state().restartPending());
    agent->shutDown();
}

TEST_F(AgentCore, FloodedOutputIsTrimmedAndLoggedWhole) {
    ASSERT_TRUE(host.simulator({{"KVSIM_FLOOD_LINES", "5000"}, {"KVSIM_LINE_INTERVAL_MS", "0"}}));
    AgentSettings settings = host.settings();
    settings.maxConsoleLoggingRamInK = 1; // 102 lines
    auto agent = makeAgent(settings);
    agent->begin();
    ASSERT_TRUE(pump([&] { return listHas(*agent, "Flood line 5000 of 5000"); }, 20s));
    EXPECT_LE(agent->outputLines().size(), 103u);
    EXPECT_GE(agent->outputLines().size(), 1u);
    std::string running = host.readWork("ServerLogs/" + host.serverLog("Server Log File"));
    EXPECT_EQ(countOf(running, "Flood line "), 5000u);
    agent->shutDown();
}

TEST_F(AgentCore, AnOverlongLineEndsCaptureWhileTheServerStaysSupervised) {
    ASSERT_TRUE(host.simulator({{"KVSIM_LONG_LINE", "1"}}));
    auto agent = makeAgent(host.settings());
    agent->begin();
    ASSERT_TRUE(pump([&] { return agent->run() && agent->run()->linesRead() > 0; }));
    ASSERT_TRUE(pump([&] { return host.agentLogText().find("capture ended") != std::string::npos; }));
    ASSERT_NE(agent->run(), nullptr);
    EXPECT_TRUE(agent->run()->processRunning());
    for (const auto& line : agent->outputLines().all())
        EXPECT_LT(line.text.size(), 16383u);
    agent->serverControl(false);
    GameServerRun* run = agent->run();
    ASSERT_TRUE(pump([&] { return !run->processRunning(); }));
    EXPECT_EQ(agent->state().crashCount(), 0);
}

TEST_F(AgentCore, InvalidConfigurationsAreReportedAndNothingStarts) {
    AgentSettings settings = host.settings();
    settings.activeControlFile = "Missing.Control";
    auto agent = makeAgent(settings);
    agent->begin();
    EXPECT_EQ(agent->state().status(), ServerStatus::InvalidConfiguration);
    EXPECT_EQ(agent->run(), nullptr);
    const std::string missing = "Invalid configuration, unable to open selected control file \"" + host.workFolder() +
                                "/Configurations/Missing.Control\"";
    ASSERT_EQ(agent->accessLog().size(), 1u);
    EXPECT_EQ(agent->accessLog().lines().back(), missing);
    EXPECT_NE(host.agentLogText().find(missing + "\n"), std::string::npos);

    host.controlFile("NoMap", "Nowhere.kvo");
    agent->settings().update([](AgentSettings& s) { s.activeControlFile = "NoMap.Control"; });
    agent->serverControl(true);
    const std::string noMap = "Invalid Configuration, map \"" + host.gameFolder() + "/Maps/Nowhere.kvo\" not found";
    EXPECT_EQ(agent->accessLog().lines().back(), noMap);
    EXPECT_EQ(agent->state().status(), ServerStatus::InvalidConfiguration);
    EXPECT_EQ(agent->run(), nullptr);

    // A game folder that does not exist fails the map check the same way.
    agent->settings().update([&](AgentSettings& s) {
        s.activeControlFile = "Duel.Control";
        s.gameServerPath = host.gameFolder() + "/absent/";
    });
    agent->serverControl(true);
    EXPECT_EQ(agent->accessLog().lines().back(),
              "Invalid Configuration, map \"" + host.gameFolder() + "/absent/Maps/Harbor.kvo\" not found");

    // Maps present but no server program: reported, not left "Starting".
    ASSERT_TRUE(makeDirectories(host.workFolder() + "/fakegame/Maps/Harbor.kvo"));
    agent->settings().update([&](AgentSettings& s) { s.gameServerPath = host.workFolder() + "/fakegame"; });
    agent->serverControl(true);
    EXPECT_EQ(agent->state().status(), ServerStatus::InvalidConfiguration);
    EXPECT_NE(agent->accessLog().lines().back().find("Unable to start the game server"), std::string::npos);
    EXPECT_EQ(agent->run(), nullptr);
}

TEST_F(AgentCore, TickCountsUpTimeAndShowsFigures) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    settings.showMemoryUsage = true;
    auto agent = makeAgent(settings);
    agent->begin();
    EXPECT_EQ(agent->display().activeSetup, "None");
    EXPECT_EQ(agent->display().currentMap, "N/A");
    EXPECT_EQ(agent->display().statusText.rfind("No command line option specified", 0), 0u);
    agent->tick();
    EXPECT_EQ(agent->state().upTimeSeconds(), 0); // Never Started does not count
    agent->state().setStatus(ServerStatus::Running);
    for (int i = 0; i < 90; ++i)
        agent->tick();
    EXPECT_EQ(agent->display().upTime, " 1.5 Minutes");
    EXPECT_EQ(agent->display().memoryUsage, "0K/0K");
    EXPECT_EQ(agent->display().statusText, "Running");
    agent->state().setStatus(ServerStatus::Stopped);
    agent->tick();
    EXPECT_EQ(agent->state().upTimeSeconds(), 90);
}

TEST_F(AgentCore, ServerControlFromAnotherThreadWaitsForTheMainThread) {
    auto agent = makeAgent(host.settings());
    agent->begin();
    ASSERT_TRUE(pump([&] { return running(*agent); }));
    std::atomic<int> result{-1};
    std::thread session([&] { result = agent->requestServerControl(false, 5s) ? 1 : 0; });
    ASSERT_TRUE(pump([&] { return result.load() != -1; }));
    session.join();
    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(agent->state().status(), ServerStatus::Stopped);

    // Once shutdown has begun a request is refused at once instead of waiting.
    agent->shutDown();
    std::thread late([&] { result = agent->requestServerControl(true, 60s) ? 1 : 0; });
    late.join();
    EXPECT_EQ(result.load(), 0);
}
