// The agent's main window and its monitor window over a real core, driven as a user would: menus, the settings
// dialog, Select Setup, and stopping the game server (the simulator) from the monitor window.
#include "agent/ui/CConfigureDlg.h"
#include "agent/ui/CConfigurePasswordDlg.h"
#include "agent/ui/CKVServerRemoteControlDlg.h"
#include "agent/ui/FirstRun.h"

#include "agent/Agent.h"
#include "agent/GameServerRun.h"
#include "agent/SettingsFile.h"

#include "monitor/CMonitorServerOutputWnd.h"

#include "tests/agent/AgentTestHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "common/Md5.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <thread>

using namespace kv;
using namespace kv::agent;
using namespace kv::agent::ui;
using namespace std::chrono_literals;

namespace {

bool pump(const std::function<bool()>& done, std::chrono::milliseconds timeout = 15s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

class AgentWindow : public ::testing::Test {
protected:
    void SetUp() override {
        test::guiApp();
        ASSERT_TRUE(host.ok()) << host.error();
    }

    AgentEnvironment environment(bool showFailures = false) {
        AgentEnvironment env;
        env.workDir = host.workFolder();
        env.clock = &clock;
        env.adminPort = host.adminPort();
        env.showFailures = showFailures;
        env.identity = kv::AgentIdentity{{}, "AB:CD"};
        env.tickInterval = 3600s; // tests tick by hand
        env.exitWatchInterval = 50ms;
        env.memoryInterval = 100ms;
        env.crashSettle = 300ms;
        env.cleanupAfterSend = 300ms;
        env.cleanupAfterFailure = 100ms;
        env.stopGrace = 300ms;
        env.systemGameSettings = "/nonexistent/system.conf";
        env.userGameSettings = "/nonexistent/user.conf";
        return env;
    }

    QAction* action(QWidget& window, const char* name) { return window.findChild<QAction*>(QString::fromUtf8(name)); }

    std::string settingsFile() const { return host.readWork(settings_file::kFileName); }

    test::AgentTestHost host;
    SystemClock clock;
    test::FakePrompter prompter;
};

TEST_F(AgentWindow, ShowsTheCoreStateWithoutAControlFile) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    Agent agent(environment(), settings);
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KV Server Manager Remote Control Utility Version 1.8 (049-10232007-1039)"));
    EXPECT_EQ(window.valueField("adminName")->text(), QStringLiteral("Admin"));
    EXPECT_EQ(window.valueField("serverIp")->text(), QStringLiteral("Single IP System"));
    EXPECT_EQ(window.valueField("currentMap")->text(), QStringLiteral("N/A"));
    EXPECT_EQ(window.valueField("activeSetup")->text(), QStringLiteral("None"));
    EXPECT_TRUE(
        window.valueField("serverStatus")->text().startsWith(QStringLiteral("No command line option specified")));
    EXPECT_EQ(window.valueField("upTime")->text(), QStringLiteral("N/A"));
    EXPECT_FALSE(window.valueField("failures")->isVisible());
    EXPECT_FALSE(window.valueField("memoryUsage")->isVisible());
    EXPECT_EQ(window.monitorWindow(), nullptr);

    agent.accessLog().append("03/07/2007 - 9:05:03 - KVSM Start Server Request from IP 127.0.0.1");
    QCoreApplication::processEvents();
    ASSERT_EQ(window.accessLogList()->count(), 1);
    EXPECT_EQ(window.accessLogList()->item(0)->text(),
              QStringLiteral("03/07/2007 - 9:05:03 - KVSM Start Server Request from IP 127.0.0.1"));

    // The list keeps about the newest thousand lines: over 1000, the 99 oldest go first.
    for (int i = 1; i < 1001; ++i)
        agent.accessLog().append("line " + std::to_string(i));
    QCoreApplication::processEvents();
    ASSERT_EQ(window.accessLogList()->count(), 1001);
    agent.accessLog().append("one more");
    QCoreApplication::processEvents();
    EXPECT_EQ(window.accessLogList()->count(), 903);
    EXPECT_EQ(window.accessLogList()->item(902)->text(), QStringLiteral("one more"));

    action(window, "about")->trigger();
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].text,
              QStringLiteral("Korvane Server Manager\nRemote Control Utility Version 1.8 (049-10232007-1039)\n\n"
                             "Agent identity (SHA-256 fingerprint):\nAB:CD"));
    action(window, "manual")->trigger();
    action(window, "supportWebsite")->trigger();
    ASSERT_EQ(prompter.urls.size(), 2u);
    EXPECT_TRUE(prompter.urls[0].toLocalFile().endsWith(
        QStringLiteral("/Getting Started With the KVSM Remote Control Utility.pdf")));
    EXPECT_EQ(prompter.urls[1].scheme(), QStringLiteral("https"));
    agent.shutDown();
}

TEST_F(AgentWindow, FailuresAndMemoryFieldsFollowTheirSwitches) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    settings.showMemoryUsage = true;
    settings.serverIp = "127.0.0.1";
    Agent agent(environment(true), settings);
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    agent.tick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.valueField("failures")->isVisible());
    EXPECT_EQ(window.valueField("failures")->text(), QStringLiteral("0"));
    EXPECT_TRUE(window.valueField("memoryUsage")->isVisible());
    EXPECT_TRUE(window.valueField("pagingUsage")->isVisible());
    EXPECT_EQ(window.valueField("memoryUsage")->text(), QStringLiteral("0K/0K"));
    EXPECT_EQ(window.valueField("serverIp")->text(), QStringLiteral("127.0.0.1"));
    agent.shutDown();
}

TEST_F(AgentWindow, OptionsSaveWritesTheFileAndRestartsOnlyForANewControlFile) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    ASSERT_TRUE(host.writeSettings(settings));
    Agent agent(environment(), settings);
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();

    // Change fields and the password, keep the control file.
    prompter.dialogHandler = [&](QDialog& d) {
        if (auto* password = dynamic_cast<CConfigurePasswordDlg*>(&d)) {
            password->passwordField()->setText(QStringLiteral("NewPass"));
            return true;
        }
        auto& dialog = dynamic_cast<CConfigureDlg&>(d);
        dialog.field("adminName")->setText(QStringLiteral("Boss"));
        dialog.field("honorUserName")->setText(QStringLiteral("ranked"));
        dialog.check("autoRestart")->setChecked(true);
        dialog.restartHourBox()->setCurrentIndex(5);
        dialog.check("showMemoryUsage")->setChecked(true);
        dialog.button("changePassword")->click();
        dialog.button("save")->click();
        return dialog.result() == QDialog::Accepted;
    };
    const std::size_t accessLines = agent.accessLog().size();
    action(window, "options")->trigger();
    std::string file = settingsFile();
    EXPECT_NE(file.find("\nAdminName=Boss\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\nMD5Password=" + md5Hex("NewPass") + "\n"), std::string::npos);
    EXPECT_NE(file.find("\nHonorServerUserName=ranked\n"), std::string::npos);
    EXPECT_NE(file.find("\nTimedAutoRestartServer=1\n"), std::string::npos);
    EXPECT_NE(file.find("\nTimeOfDayInMinutesToRestartServer=300\n"), std::string::npos);
    EXPECT_NE(file.find("\nShowMemoryUsage=1\n"), std::string::npos);
    EXPECT_EQ(agent.accessLog().size(), accessLines); // no restart
    EXPECT_EQ(window.valueField("adminName")->text(), QStringLiteral("Boss"));
    EXPECT_TRUE(window.valueField("memoryUsage")->isVisible());

    // An empty password keeps the digest; a control file chosen through Select restarts at once.
    prompter.openAnswer = QString::fromStdString(host.workFolder() + "/Configurations/Missing.Control");
    prompter.dialogHandler = [&](QDialog& d) {
        auto& dialog = dynamic_cast<CConfigureDlg&>(d);
        EXPECT_EQ(dialog.field("adminName")->text(), QStringLiteral("Boss"));
        EXPECT_EQ(dialog.restartHourBox()->currentText(), QStringLiteral("5 AM"));
        dialog.button("select")->click();
        dialog.button("save")->click();
        return dialog.result() == QDialog::Accepted;
    };
    action(window, "options")->trigger();
    file = settingsFile();
    EXPECT_NE(file.find("\nMD5Password=" + md5Hex("NewPass") + "\n"), std::string::npos);
    EXPECT_NE(file.find("\nActiveControlFile=Missing.Control\n"), std::string::npos);
    ASSERT_GT(agent.accessLog().size(), accessLines);
    EXPECT_NE(agent.accessLog().lines().back().find("Invalid configuration, unable to open selected control file"),
              std::string::npos);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.valueField("serverStatus")->text(), QStringLiteral("Stopped - Invalid Configuration"));

    // Cancelled: nothing changes.
    const std::string before = settingsFile();
    prompter.dialogHandler = [](QDialog& d) {
        dynamic_cast<CConfigureDlg&>(d).field("adminName")->setText(QStringLiteral("Nobody"));
        return false;
    };
    action(window, "options")->trigger();
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(agent.settings().snapshot().adminName, "Boss");
    agent.shutDown();
}

TEST_F(AgentWindow, ASettingsFileThatCannotBeSavedAtExitIsToldAndTheSettingsStayInMemory) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    Agent agent(environment(), settings);
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    agent.settings().update([](AgentSettings& s) { s.adminName = "Boss"; });
    // A folder in the file's place cannot be replaced by a rename, whoever we are (root passes permission checks).
    const std::string path = joinPath(host.workFolder(), settings_file::kFileName);
    removeFile(path);
    ASSERT_TRUE(makeDirectories(path));
    action(window, "exit")->trigger();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("Unable to save settings.  The file may be write protected.  "
                                                      "Please correct the error and try again."));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Unable to Save KVSM RCU Settings"));
    EXPECT_EQ(agent.settings().snapshot().adminName, "Boss");
    // A second close (a signal after Exit) does not tell it again.
    window.close();
    EXPECT_EQ(prompter.errors.size(), 1u);
}

TEST_F(AgentWindow, SelectSetupChangesTheControlFileAndRestarts) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    Agent agent(environment(), settings);
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    prompter.openAnswer.clear();
    action(window, "selectSetup")->trigger();
    EXPECT_TRUE(agent.settings().snapshot().activeControlFile.empty());
    EXPECT_EQ(prompter.openFolder, QString::fromStdString(host.workFolder() + "/Configurations"));

    EXPECT_EQ(prompter.openFilter, QStringLiteral("KVSM Server Control Files(*.Control);;All Files (*.*)"));

    prompter.openAnswer = QStringLiteral("/elsewhere/Duel.Control");
    action(window, "selectSetup")->trigger();
    EXPECT_EQ(agent.settings().snapshot().activeControlFile, "Duel.Control");
    QCoreApplication::processEvents();
    ASSERT_GT(window.accessLogList()->count(), 0);
    EXPECT_EQ(window.accessLogList()->item(window.accessLogList()->count() - 1)->text(),
              QStringLiteral("Selected new control file \"Duel.Control\""));
    // The restart happens on the next tick: a monitor window for the new run.
    agent.tick();
    ASSERT_TRUE(pump([&] { return window.monitorWindow() != nullptr; }));
    EXPECT_EQ(window.monitorWindow()->windowTitle(), QStringLiteral("Monitoring Server Running Duel"));
    agent.shutDown();
    EXPECT_TRUE(pump([&] { return window.monitorWindow() == nullptr; }));
}

TEST_F(AgentWindow, MonitorWindowStopsTheServerWhenTheUserSaysYes) {
    Agent agent(environment(), host.settings());
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    ASSERT_TRUE(pump([&] { return agent.state().status() == ServerStatus::Running; })) << agent.display().statusText;
    monitor::CMonitorServerOutputWnd* monitor = window.monitorWindow();
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(pump([&] { return listHas(agent, "Game engine initialized"); }));
    EXPECT_GT(agent.outputLines().size(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(monitor->scrollBar()->maximum(),
              static_cast<int>(agent.outputLines().size()) - monitor->visibleLines() > 0
                  ? static_cast<int>(agent.outputLines().size()) - monitor->visibleLines()
                  : 0);

    // Closing by its close box and answering No: the server keeps running.
    prompter.answers = {false};
    EXPECT_FALSE(monitor->close());
    EXPECT_EQ(window.monitorWindow(), monitor);
    EXPECT_EQ(agent.state().status(), ServerStatus::Running);

    // Stop Server, No: nothing happens; Yes: the stop sequence runs.
    prompter.answers = {false};
    monitor->stopButton()->click();
    EXPECT_EQ(agent.state().status(), ServerStatus::Running);
    prompter.answers = {true};
    monitor->stopButton()->click();
    EXPECT_EQ(agent.state().status(), ServerStatus::Stopped);
    EXPECT_FALSE(monitor->stopButton()->isEnabled());
    EXPECT_EQ(monitor->stopButton()->text(), QStringLiteral("Stopping Server"));
    ASSERT_TRUE(pump([&] { return listHas(agent, "ALERT - Server Stopped By User"); }));
    EXPECT_EQ(monitor->stopButton()->text(), QStringLiteral("Server Stopped"));

    // Nothing left to stop: closing does not ask, ends the run and empties the list.
    const std::size_t asked = prompter.questions.size();
    EXPECT_TRUE(monitor->close());
    EXPECT_EQ(prompter.questions.size(), asked);
    ASSERT_TRUE(pump([&] { return window.monitorWindow() == nullptr && agent.run() == nullptr; }));
    EXPECT_EQ(agent.outputLines().size(), 0u);
    agent.shutDown();
}

TEST_F(AgentWindow, ClosingTheMonitorWithYesStopsTheServer) {
    Agent agent(environment(), host.settings());
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    ASSERT_TRUE(pump([&] { return agent.state().status() == ServerStatus::Running; }));
    const pid_t pid = agent.run()->pid();
    prompter.answers = {true};
    ASSERT_TRUE(window.monitorWindow()->close());
    EXPECT_EQ(prompter.questions.back().text,
              QStringLiteral("Are you sure you want to stop the server and close the monitor?"));
    ASSERT_TRUE(pump([&] { return window.monitorWindow() == nullptr && agent.endingRun() == nullptr; }));
    EXPECT_EQ(agent.run(), nullptr);
    EXPECT_EQ(agent.state().status(), ServerStatus::Stopped);
    EXPECT_TRUE(pid > 0 &&
                (::kill(pid, 0) != 0 ||
                 readFile("/proc/" + std::to_string(pid) + "/stat").value_or("Z").find(") Z") != std::string::npos));
    agent.shutDown();
}

TEST_F(AgentWindow, ACrashOrARestartReplacesTheMonitorWithoutAsking) {
    ASSERT_TRUE(host.simulator({{"KVSIM_CRASH_AFTER", "1"}, {"KVSIM_CRASH_CODE", "7"}}));
    Agent agent(environment(true), host.settings());
    CKVServerRemoteControlDlg window(agent, prompter);
    window.show();
    agent.begin();
    ASSERT_TRUE(pump([&] { return window.monitorWindow() != nullptr; }));
    QPointer<monitor::CMonitorServerOutputWnd> first = window.monitorWindow();
    ASSERT_TRUE(pump([&] { return agent.state().crashCount() == 1; }));
    ASSERT_TRUE(pump([&] { return first.isNull() && window.monitorWindow() != nullptr; }));
    EXPECT_TRUE(prompter.questions.empty());
    agent.tick();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.valueField("failures")->text(), QStringLiteral("1"));

    // "Restart Server Now": the window of the old run goes, the next tick starts a new one.
    ASSERT_TRUE(host.simulator());
    QPointer<monitor::CMonitorServerOutputWnd> second = window.monitorWindow();
    window.restartButton()->click();
    ASSERT_TRUE(pump([&] { return second.isNull(); }));
    EXPECT_EQ(window.valueField("serverStatus")->text(),
              QStringLiteral("Waiting for server to terminate before restarting."));
    ASSERT_TRUE(pump([&] { return agent.endingRun() == nullptr; }));
    agent.tick();
    ASSERT_TRUE(pump([&] { return window.monitorWindow() != nullptr; }));
    EXPECT_TRUE(prompter.questions.empty());
    agent.shutDown();
}

// Records the longest gap between ticks of a 10 ms timer on the GUI thread: how long the window could not repaint.
class StallMeter {
public:
    StallMeter() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const auto now = std::chrono::steady_clock::now();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        longest_ = {};
        last_ = std::chrono::steady_clock::now();
        timer_.start(10);
    }
    std::chrono::milliseconds longest() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(longest_);
    }

private:
    QTimer timer_;
    std::chrono::steady_clock::time_point last_;
    std::chrono::steady_clock::duration longest_{};
};

bool processGone(pid_t pid) {
    return pid > 0 &&
           (::kill(pid, 0) != 0 ||
            readFile("/proc/" + std::to_string(pid) + "/stat").value_or("Z").find(") Z") != std::string::npos);
}

TEST_F(AgentWindow, RestartAndExitNeverStallTheWindowForAStubbornServer) {
    // SHUTDOWN and SIGTERM are ignored: every stop runs the whole sequence and ends with SIGKILL.
    ASSERT_TRUE(host.simulator({{"KVSIM_IGNORE_SHUTDOWN", "1"}, {"KVSIM_IGNORE_SIGTERM", "1"}}));
    AgentEnvironment env = environment();
    env.tickInterval = 200ms;
    env.cleanupAfterSend = 1500ms;
    env.stopGrace = 1000ms;
    const auto fullStop = env.cleanupAfterSend + env.stopGrace;
    Agent agent(env, host.settings());
    CKVServerRemoteControlDlg window(agent, prompter);
    std::vector<pid_t> started;
    bool overlapped = false;
    QObject::connect(&agent, &Agent::runChanged, &window, [&](GameServerRun* run) {
        if (!run)
            return;
        for (pid_t earlier : started)
            overlapped = overlapped || !processGone(earlier);
        started.push_back(run->pid());
    });
    window.show();
    agent.begin();
    ASSERT_TRUE(pump([&] { return agent.state().status() == ServerStatus::Running; }));
    ASSERT_EQ(started.size(), 1u);

    StallMeter meter;
    meter.start();
    auto begun = std::chrono::steady_clock::now();
    window.restartButton()->click();
    ASSERT_TRUE(pump([&] { return started.size() == 2 && agent.state().status() == ServerStatus::Running; }, 30s));
    const auto restartTook = std::chrono::steady_clock::now() - begun;
    const auto restartStall = meter.longest();
    EXPECT_GE(restartTook, fullStop);
    EXPECT_TRUE(processGone(started[0]));
    EXPECT_FALSE(overlapped);

    // Exit: the stop sequence runs inside shutDown's event loop, so the window keeps repainting meanwhile.
    meter.start();
    begun = std::chrono::steady_clock::now();
    action(window, "exit")->trigger();
    const auto exitTook = std::chrono::steady_clock::now() - begun;
    const auto exitStall = meter.longest();
    EXPECT_GE(exitTook, fullStop);
    EXPECT_TRUE(processGone(started[1]));
    EXPECT_EQ(agent.run(), nullptr);
    EXPECT_EQ(agent.endingRun(), nullptr);
    EXPECT_NE(settingsFile().find("ActiveControlFile=Duel.Control"), std::string::npos);

    std::printf("Longest GUI stall: restart %lld ms (of %lld ms), exit %lld ms (of %lld ms)\n",
                static_cast<long long>(restartStall.count()),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(restartTook).count()),
                static_cast<long long>(exitStall.count()),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(exitTook).count()));
    EXPECT_LT(restartStall, 500ms);
    EXPECT_LT(exitStall, 500ms);
}

TEST_F(AgentWindow, DestroyingTheWindowsEndsTheRunCleanly) {
    Agent agent(environment(), host.settings());
    {
        CKVServerRemoteControlDlg window(agent, prompter);
        window.show();
        agent.begin();
        ASSERT_TRUE(pump([&] { return window.monitorWindow() != nullptr && agent.run() != nullptr; }));
    } // torn down without a close event: the monitor window still lets go of its run
    EXPECT_EQ(agent.run(), nullptr);
    EXPECT_TRUE(prompter.questions.empty());
    agent.shutDown();
}

TEST_F(AgentWindow, FirstRunDialogWritesTheFileOrKeepsTheDefaults) {
    AgentSettings settings = AgentSettings::defaults();
    settings.serverIp = "192.0.2.7"; // from the command line
    const AgentEnvironment env = environment();
    removeFile(joinPath(env.workDir, settings_file::kFileName));

    prompter.dialogHandler = [](QDialog& d) {
        auto& dialog = dynamic_cast<CConfigureDlg&>(d);
        EXPECT_EQ(dialog.field("adminName")->text(), QStringLiteral("Admin"));
        EXPECT_EQ(dialog.field("serverIp")->text(), QStringLiteral("192.0.2.7"));
        EXPECT_EQ(dialog.values().password, "Gatepost");
        return false;
    };
    AgentSettings cancelled = settings;
    EXPECT_FALSE(runFirstRunDialog(cancelled, env, prompter));
    EXPECT_EQ(cancelled, settings);
    EXPECT_FALSE(fileExists(joinPath(env.workDir, settings_file::kFileName)));

    prompter.dialogHandler = [](QDialog& d) {
        auto& dialog = dynamic_cast<CConfigureDlg&>(d);
        dialog.field("adminName")->setText(QStringLiteral("Owner"));
        dialog.button("save")->click();
        return dialog.result() == QDialog::Accepted;
    };
    AgentSettings saved = settings;
    EXPECT_TRUE(runFirstRunDialog(saved, env, prompter));
    const std::string file = settingsFile();
    EXPECT_NE(file.find("\nMD5Password=" + md5Hex("Gatepost") + "\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\nAdminName=Owner\n"), std::string::npos);
    EXPECT_NE(file.find("ServerIP=192.0.2.7\n"), std::string::npos);
    EXPECT_EQ(saved.adminName, "Owner");
}

} // namespace
