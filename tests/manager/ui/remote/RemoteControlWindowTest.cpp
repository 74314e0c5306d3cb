// The remote control window offscreen against kvagent --headless on loopback (its game server the simulator),
// through the client library built here; every question answered by the fake prompter.
#include "manager/ui/remote/CServerRemoteControlDlg.h"

#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"
#include "manager/ui/MonitorWindowMaker.h"
#include "manager/ui/remote/CRemoteServerConfigureAutoRestartDlg.h"
#include "manager/ui/remote/RemoteFeedSource.h"
#include "monitor/CMonitorServerOutputWnd.h"
#include "monitor/MonitorSource.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/support/QtEvents.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kv::manager::ui {
namespace {

constexpr const char* kNotFound = "KVSM Remote Control Utility not found on remote server";

// Processes events until `done`; the bound only stops a hung test.
class RemoteControlWindow : public ::testing::Test {
protected:
    void SetUp() override { test::guiApp(); }
    void TearDown() override {
        delete window.data();
        EXPECT_TRUE(remote::RemoteRunner::waitForWorkers(30s));
    }

    void startAgent(test::HeadlessAgent::Options agentOptions = {}) {
        agent = std::make_unique<test::HeadlessAgent>(std::move(agentOptions));
        ::setenv("XDG_DATA_HOME", client.path().c_str(), 1);
        ASSERT_TRUE(agent->start()) << agent->error();
        binding = remote::RemoteBinding::bind(remote::RemoteBinding::candidatePaths(KV_BIN_DIR), trustFile);
        ASSERT_TRUE(binding.available()) << binding.detail();
        context.remoteLibrary = binding.library();
        context.clock = &clock;
        context.settings.serverLocation = game.path();
        options.statusPort = agent->host().queryPort();
        options.statusTiming.interval = 300ms;
        options.refreshInterval = 200ms;
        options.procFolder = proc.path();
        options.help = [this](const char* page) { helpPages.emplace_back(page); };
        options.makeMonitorWindow = [this](monitor::MonitorSource& source, const std::string& server,
                                           const std::string& address, const std::string& setup) {
            return monitorMaker.remote(source, server, address, setup);
        };
    }

    // Opens a window on the agent with this password and waits for its first refresh.
    void openWindow(const std::string& password = "secret") {
        window = new CServerRemoteControlDlg(context, prompter, desktop,
                                             {"Alpha", agent->address(), agent->adminName(), password}, options);
        window->open();
        ASSERT_TRUE(test::spinEventsUntil([&] { return !text("status").isEmpty(); })) << agent->output();
    }

    QString text(const char* field) const { return window->field(field)->text(); }
    QPushButton* button(const char* name) const { return window->button(name); }
    bool waitForStatus(const QString& status) {
        return test::spinEventsUntil([&] { return text("status") == status; });
    }
    int shownWithCaption(const QString& caption) const {
        return static_cast<int>(std::count_if(prompter.errors.begin(), prompter.errors.end(),
                                              [&](const auto& shown) { return shown.caption == caption; }));
    }

    test::TempDir client;
    test::TempDir game; // ServerLocation: where the game client lies
    test::TempDir proc; // the process folder looked at for a running game
    std::string trustFile = client.file("known_agents");
    std::unique_ptr<test::HeadlessAgent> agent;
    remote::RemoteBinding binding;
    SystemClock clock;
    core::ManagerContext context;
    test::FakePrompter prompter;
    test::FakeDesktopServices desktop;
    MonitorWindowMaker monitorMaker{context, prompter, {}};
    RemoteControlOptions options;
    std::vector<std::string> helpPages;
    QPointer<CServerRemoteControlDlg> window;
};

TEST_F(RemoteControlWindow, WithNoSetupSelectedOnlyTheSetupsCanBeManagedAndEveryCaptionIsAsDesigned) {
    startAgent();
    int managed = 0;
    options.manageSetups = [&](CServerRemoteControlDlg& w) {
        ++managed;
        EXPECT_EQ(w.host().address, agent->address());
        EXPECT_EQ(w.host().adminName, "admin");
        EXPECT_EQ(w.host().password, "secret");
        EXPECT_EQ(w.serverName(), "Alpha");
        EXPECT_EQ(w.playerCount(), 0);
        return true;
    };
    int banLists = 0;
    options.banList = [&](CServerRemoteControlDlg& w) {
        ++banLists;
        EXPECT_EQ(w.host().address, agent->address());
    };
    options.antiCheat = [](CServerRemoteControlDlg&) { ADD_FAILURE() << "offered while the server is stopped"; };
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Server Remote Control - Alpha"));
    EXPECT_EQ(text("status"), QStringLiteral("Never Started"));
    EXPECT_EQ(text("serverIp"), QString::fromStdString(agent->address()));
    EXPECT_EQ(text("serverName"), QStringLiteral("Alpha"));
    EXPECT_EQ(text("currentSetup"), QStringLiteral("Not selected"));
    EXPECT_EQ(window->box("summary")->toPlainText(),
              QStringLiteral("No server setup selected.  Use the \"Manage Server Setups\" button to select and start "
                             "a server setup."));
    EXPECT_EQ(text("restartTime"), QStringLiteral("Not Enabled"));
    EXPECT_EQ(button("startStop")->text(), QStringLiteral("Start Server"));
    EXPECT_FALSE(button("startStop")->isEnabled());
    EXPECT_TRUE(button("startStop")->toolTip().startsWith(QStringLiteral("Click here to start the server if")));
    for (const char* off : {"monitor", "adminInGame", "playGame", "configRestart", "pbOptions"})
        EXPECT_FALSE(button(off)->isEnabled()) << off;
    EXPECT_TRUE(button("pbOptions")->toolTip().startsWith(QStringLiteral("This allow you to perform several")));
    // The ban list is the host's, whether or not its server runs.
    ASSERT_TRUE(button("banList")->isEnabled());
    button("banList")->click();
    EXPECT_EQ(banLists, 1);
    EXPECT_EQ(button("monitor")->toolTipDuration(), 600000);
    EXPECT_FALSE(window->statusLine()->text().isEmpty()); // the library's progress texts
    // No game server answers the status query yet.
    ASSERT_TRUE(test::spinEventsUntil(
        [&] { return window->box("details")->toPlainText() == QStringLiteral("Not Available"); }));
    EXPECT_TRUE(prompter.errors.empty());

    // "Manage Server Setups" hands over the login; its OK refreshes on a worker at once.
    ASSERT_TRUE(button("manageSetups")->isEnabled());
    ASSERT_TRUE(test::spinEventsUntil([&] { return !window->refreshing(); }));
    button("manageSetups")->click();
    EXPECT_EQ(managed, 1);
    EXPECT_TRUE(window->refreshing());

    button("help")->click();
    EXPECT_EQ(helpPages, std::vector<std::string>{"RunningAServerSetupRemotely.html"});
}

TEST_F(RemoteControlWindow, StartsMonitorsPlaysSetsTheRestartTimeAndStops) {
    startAgent({.activeSetup = true});
    ASSERT_TRUE(writeFileAtomically(joinPath(game.path(), "kvclient.bin"), "#!/bin/sh\n"));
    int antiCheat = 0;
    options.antiCheat = [&](CServerRemoteControlDlg&) { ++antiCheat; };
    openWindow();
    // The agent starts its active setup itself; the window follows.
    ASSERT_TRUE(waitForStatus(QStringLiteral("Running"))) << agent->output();
    ASSERT_TRUE(button("pbOptions")->isEnabled());
    button("pbOptions")->click();
    EXPECT_EQ(antiCheat, 1);
    EXPECT_EQ(text("currentSetup"), QStringLiteral("Duel"));
    EXPECT_EQ(text("startingMap"), QStringLiteral("Harbor.kvo"));
    EXPECT_EQ(button("startStop")->text(), QStringLiteral("Stop Server"));
    EXPECT_EQ(button("startStop")->toolTip(), QStringLiteral("Click here to stop the server."));
    for (const char* on : {"startStop", "monitor", "adminInGame", "playGame", "configRestart"})
        EXPECT_TRUE(button(on)->isEnabled()) << on;
    EXPECT_TRUE(text("upTime").endsWith(QStringLiteral(" minutes")))
        << text("upTime").toStdString(); // no crash count kept
    // The game status query reaches the simulator on the host's address.
    ASSERT_TRUE(test::spinEventsUntil([&] {
        return window->box("details")->toPlainText().contains(QStringLiteral("Harbor"));
    })) << window->box("details")->toPlainText().toStdString();

    // Monitor Server: the simulator's output arrives; a second press shows the same window.
    button("monitor")->click();
    QPointer<monitor::CMonitorServerOutputWnd> monitor = window->monitorWindow();
    ASSERT_TRUE(monitor);
    EXPECT_EQ(monitor->windowTitle(), QStringLiteral("Monitoring Remote Server \"Alpha\" (IP: %1) running Duel")
                                          .arg(QString::fromStdString(agent->address())));
    auto* source = monitor->findChild<monitor::MonitorSource*>();
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(test::spinEventsUntil([&] { return source->lineCount() >= 2; })) << agent->output();
    button("monitor")->click();
    EXPECT_EQ(window->monitorWindow(), monitor.data());
    // Closed, its feed ends; the next press opens a new one.
    monitor->close();
    ASSERT_TRUE(test::spinEventsUntil([&] { return monitor.isNull(); }));
    button("monitor")->click();
    ASSERT_NE(window->monitorWindow(), nullptr);

    // Play Game: the game client in ServerLocation, started with the address alone (no player password).
    button("playGame")->click();
    ASSERT_EQ(desktop.started.size(), 1u);
    EXPECT_EQ(desktop.started[0].program, QString::fromStdString(joinPath(game.path(), "kvclient.bin")));
    EXPECT_EQ(desktop.started[0].arguments, QStringList{QStringLiteral("127.0.0.1")});
    EXPECT_EQ(desktop.started[0].folder, QString::fromStdString(game.path()));
    button("adminInGame")->click();
    ASSERT_EQ(desktop.started.size(), 2u);
    ASSERT_EQ(desktop.started[1].arguments.size(), 1);
    EXPECT_TRUE(desktop.started[1].arguments[0].startsWith(QStringLiteral("127.0.0.1?Password=")));
    // A game client of this user already runs: the command to type instead.
    proc.write("4711/comm", "kvclient.bin\n");
    proc.write("4711/status", "Name:\tkvclient.bin\nUid:\t" + std::to_string(::getuid()) + "\t0\t0\t0\n");
    button("playGame")->click();
    EXPECT_EQ(desktop.started.size(), 2u);
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Game Already Running"));
    EXPECT_TRUE(prompter.informations[0].text.endsWith(QStringLiteral("\n\nstart 127.0.0.1")));

    // Config Restart opens on the current value; 1:00 PM is sent, shown, and read back by the next refresh.
    std::string opened;
    prompter.dialogHandler = [&](QDialog& dialog) {
        auto& restart = dynamic_cast<CRemoteServerConfigureAutoRestartDlg&>(dialog);
        opened = restart.times()->currentText().toStdString();
        restart.times()->setCurrentIndex(79);
        restart.button("set")->click();
        return restart.result() == QDialog::Accepted;
    };
    button("configRestart")->click();
    EXPECT_EQ(opened, "Do Not Auto-Restart");
    ASSERT_TRUE(test::spinEventsUntil([&] { return text("restartTime") == QStringLiteral("1:00 PM"); }));
    window->field("restartTime")->clear();
    ASSERT_TRUE(test::spinEventsUntil([&] { return text("restartTime") == QStringLiteral("1:00 PM"); }));

    // Stop, then Start: each through the agent, and the window follows.
    button("startStop")->click();
    EXPECT_FALSE(button("startStop")->isEnabled()); // until the agent has answered
    ASSERT_TRUE(waitForStatus(QStringLiteral("Stopped"))) << agent->output();
    EXPECT_EQ(button("startStop")->text(), QStringLiteral("Start Server"));
    EXPECT_TRUE(button("startStop")->isEnabled());
    EXPECT_FALSE(button("monitor")->isEnabled());
    EXPECT_FALSE(button("playGame")->isEnabled());
    // Each click reached the agent: it logs the request.
    auto requests = [&](const std::string& what) {
        const std::string log = agent->output();
        int n = 0;
        for (std::size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_TRUE(test::spinEventsUntil([&] { return requests("KVSM Stop Server Request from IP 127.0.0.1") == 1; }));
    EXPECT_EQ(requests("KVSM Start Server Request"), 0);
    button("startStop")->click();
    ASSERT_TRUE(waitForStatus(QStringLiteral("Running"))) << agent->output();
    EXPECT_EQ(button("startStop")->text(), QStringLiteral("Stop Server"));
    EXPECT_TRUE(test::spinEventsUntil([&] { return requests("KVSM Start Server Request from IP 127.0.0.1") == 1; }))
        << agent->output();
    EXPECT_TRUE(prompter.errors.empty());
}

TEST_F(RemoteControlWindow, AnAgentThatGoesIsToldOnceAndTheWindowRecoversWhenItReturns) {
    startAgent({.activeSetup = true});
    openWindow();
    ASSERT_TRUE(waitForStatus(QStringLiteral("Running")));
    button("monitor")->click();
    QPointer<monitor::CMonitorServerOutputWnd> monitor = window->monitorWindow();
    ASSERT_TRUE(monitor);
    QPointer<RemoteFeedSource> feed = monitor->findChild<RemoteFeedSource*>();
    ASSERT_TRUE(feed);
    agent->stop();
    ASSERT_TRUE(waitForStatus(QString::fromUtf8(kNotFound)));
    ASSERT_TRUE(test::spinEventsUntil([&] { return !feed->feeding(); })); // the agent took the feed with it
    EXPECT_EQ(window->box("summary")->toPlainText(),
              QStringLiteral("The KVSM Server Remote Control Utility is not running on the server you specified."));
    EXPECT_TRUE(text("currentSetup").isEmpty());
    EXPECT_FALSE(button("startStop")->isEnabled());
    // More failed refreshes, one message.
    const int refreshes = 3;
    for (int i = 0; i < refreshes; ++i) {
        ASSERT_TRUE(test::spinEventsUntil([&] { return window->refreshing(); }));
        ASSERT_TRUE(test::spinEventsUntil([&] { return !window->refreshing(); }));
    }
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("KVSM Remote Control Utility Not Found"));

    ASSERT_TRUE(agent->start()) << agent->error();
    ASSERT_TRUE(waitForStatus(QStringLiteral("Running")));
    EXPECT_EQ(text("currentSetup"), QStringLiteral("Duel"));
    EXPECT_TRUE(button("startStop")->isEnabled());
    EXPECT_EQ(prompter.errors.size(), 1u);

    // The dead monitor window gives way to a new feed.
    ASSERT_TRUE(button("monitor")->isEnabled());
    button("monitor")->click();
    ASSERT_TRUE(test::spinEventsUntil([&] { return monitor.isNull(); }));
    ASSERT_NE(window->monitorWindow(), nullptr);
    auto* fresh = window->monitorWindow()->findChild<RemoteFeedSource*>();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(test::spinEventsUntil([&] { return fresh->lineCount() > 0; }));
}

TEST_F(RemoteControlWindow, ARefusedLoginAndAChangedIdentityAreToldForWhatTheyAre) {
    startAgent();
    openWindow("wrong");
    ASSERT_TRUE(test::spinEventsUntil([&] { return !prompter.errors.empty(); }));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("KVSM Remote Control Login Refused"));
    EXPECT_TRUE(prompter.errors[0].text.contains(QStringLiteral("refused the admin name or password")));
    EXPECT_TRUE(prompter.errors[0].text.endsWith(
        QStringLiteral("Last message: Logging in to Server Remote Control Utility...")));
    EXPECT_EQ(shownWithCaption(QStringLiteral("KVSM Remote Control Utility Not Found")), 0);
    EXPECT_NE(text("status"), QString::fromUtf8(kNotFound));
    EXPECT_FALSE(button("manageSetups")->isEnabled());
    delete window.data();

    // The trust file now holds another identity for this agent: refused before the password goes out.
    std::string trusted = readFile(trustFile).value_or("");
    const std::size_t line = trusted.find(agent->address() + " ");
    ASSERT_NE(line, std::string::npos) << trusted;
    const std::size_t blank = trusted.find(' ', line);
    ASSERT_NE(blank, std::string::npos) << trusted;
    const std::string recorded = trusted.substr(blank + 1, trusted.find(' ', blank + 1) - blank - 1);
    std::string other = recorded;
    other[0] = other[0] == 'A' ? 'B' : 'A';
    trusted.replace(blank + 1, recorded.size(), other);
    ASSERT_TRUE(writeFileAtomically(trustFile, trusted));
    prompter.errors.clear();
    openWindow();
    ASSERT_TRUE(test::spinEventsUntil([&] { return !prompter.errors.empty(); }));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("KVSM Remote Control Utility Identity Changed"));
    EXPECT_TRUE(prompter.errors[0].text.contains(QString::fromStdString("Recorded: " + other)));
    EXPECT_TRUE(prompter.errors[0].text.contains(QString::fromStdString("Presented now: " + recorded)));
    EXPECT_EQ(prompter.errors.size(), 1u);
}

} // namespace
} // namespace kv::manager::ui
