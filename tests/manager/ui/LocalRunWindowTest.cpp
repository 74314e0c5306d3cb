// Running a setup on this machine from the main window, against the simulator as the game's server program.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "manager/local/LocalRun.h"
#include "manager/ui/CServerMonitorDlg.h"
#include "manager/ui/LocalMonitors.h"
#include "manager/ui/MonitorWindowMaker.h"
#include "monitor/CMonitorServerOutputWnd.h"
#include "monitor/MonitorLineStore.h"

#include "common/Files.h"
#include "gui/ColourRef.h"
#include "tests/support/FreePort.h"
#include "tests/support/SimGame.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <csignal>

using namespace std::chrono_literals;

namespace kv::test {
namespace {

using manager::ui::LocalMonitors;
using monitor::CMonitorServerOutputWnd;

std::string joined(const manager::local::LocalRun& run, const char* end) {
    std::string out;
    for (const auto& line : run.lines().lines(0, SIZE_MAX))
        out += line.text + end;
    return out;
}

bool has(const manager::local::LocalRun& run, std::string_view text) {
    return joined(run, "\n").find(text) != std::string::npos;
}

int monitorWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<CMonitorServerOutputWnd*>(w) && w->isVisible() ? 1 : 0;
    return count;
}

class LocalRunWindow : public ManagerWindowTest {
protected:
    LocalRunWindow() : game(dir.file("game"), KV_BIN_DIR "/kvsim") {
        windowOptions.localRun.stopGrace = 300ms;
        windowOptions.localRun.exitWatch = 50ms;
        context.settings.serverLocation = game.systemFolder();
        dir.write("help/RunLocalServer.html", "<html><body>Running a setup here</body></html>");
        dir.write("help/ServerMonitorHelp.html", "<html><body>The monitor</body></html>");
        writeSetup("Duel", "m_csName=Duel\r\nm_csMapName=Harbor\r\nm_csMapFile=Harbor.kvo\r\n");
    }

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(game.create(&error)) << error;
        // No game lines: the output stands still once the server is up, so that a saved file can be compared.
        ASSERT_TRUE(game.writeSettings({{"KVSIM_ADMIN_PORT", std::to_string(freeTcpPort())},
                                        {"KVSIM_QUERY_PORT", std::to_string(freeUdpPort())},
                                        {"KVSIM_START_DELAY_MS", "0"},
                                        {"KVSIM_LINE_INTERVAL_MS", "0"},
                                        {"KVSIM_IGNORE_SIGTERM", "1"}}));
    }

    LocalMonitors& monitors() const { return *window->localMonitors(); }
    manager::local::LocalRun& run() const { return *monitors().localRun("Duel"); }

    void startDuel() {
        openWindow();
        select(QStringLiteral("Duel"));
        ASSERT_TRUE(window->button("runSetupButton")->isEnabled());
        window->button("runSetupButton")->click();
        ASSERT_NE(monitors().window("Duel"), nullptr)
            << (prompter.errors.empty() ? "" : prompter.errors[0].text.toStdString());
        ASSERT_TRUE(pump([&] { return has(run(), "Game engine initialized"); }, 20s)) << joined(run(), "\n");
    }

    SimGame game;
};

TEST_F(LocalRunWindow, RunsASetupUnderItsMonitorOnceAndStopsIt) {
    startDuel();
    ASSERT_EQ(desktop.openedFiles.size(), 1u);
    EXPECT_TRUE(desktop.openedFiles[0].endsWith(QStringLiteral("/help/RunLocalServer.html")));
    CMonitorServerOutputWnd* monitor = monitors().window("Duel");
    EXPECT_EQ(monitor->windowTitle(), QStringLiteral("Monitoring Server Running Duel"));
    EXPECT_EQ(monitor->geometry(), QRect(10, 10, 490, 290));
    EXPECT_EQ(monitor->options().background, gui::fromColourRef(context.settings.bgColor));
    EXPECT_EQ(monitor->options().text, gui::fromColourRef(context.settings.textColor));

    // The same setup again: no second server on the same ports, its monitor comes forward.
    window->action("runSetup")->trigger();
    EXPECT_EQ(monitors().runningServers(), 1);
    EXPECT_EQ(monitors().window("Duel"), monitor);
    EXPECT_EQ(monitorWindows(), 1);

    prompter.saveAnswer = QString::fromStdString(dir.file("saved.log"));
    monitor->saveButton()->click();
    EXPECT_TRUE(prompter.proposedSavePath.startsWith(QStringLiteral("Duel Server Log File at ")));
    EXPECT_EQ(readFile(dir.file("saved.log")).value_or(""), joined(run(), "\r\n"));

    prompter.dialogHandler = [](QDialog& dialog) {
        auto& active = dynamic_cast<manager::ui::CServerMonitorDlg&>(dialog);
        EXPECT_EQ(active.windowTitle(), QStringLiteral("Active Server Monitors"));
        EXPECT_EQ(active.list()->count(), 1);
        active.viewButton()->click(); // nothing selected: nothing happens
        EXPECT_EQ(active.result(), 0);
        active.list()->setCurrentRow(0);
        active.viewButton()->click();
        return active.result() == QDialog::Accepted;
    };
    window->action("monitorLocalServers")->trigger();
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_TRUE(monitor->isVisible());

    // The server ignores SIGTERM: it goes with SIGKILL after the grace time.
    prompter.answers = {true};
    monitor->stopButton()->click();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Stop Server"));
    EXPECT_TRUE(
        prompter.questions[0].text.startsWith(QStringLiteral("Are you sure you want to stop the Korvane server?")));
    ASSERT_TRUE(pump([&] { return run().hasEnded(); }, 10s));
    EXPECT_TRUE(has(run(), "SIGTERM ignored"));
    EXPECT_TRUE(has(run(), " - ALERT - Server Stopped By User"));
    EXPECT_FALSE(monitor->stopButton()->isEnabled());

    // Run again once its server has gone: a new server under a new monitor; the old one keeps its lines.
    window->action("runSetup")->trigger();
    ASSERT_NE(monitors().window("Duel"), nullptr);
    EXPECT_NE(monitors().window("Duel"), monitor);
    EXPECT_EQ(monitors().runningServers(), 1);
    EXPECT_EQ(monitorWindows(), 2);
    monitor->close(); // nothing runs there any more: no question
    EXPECT_EQ(prompter.questions.size(), 1u);
    ASSERT_TRUE(pump([&] { return monitorWindows() == 1; }));
    EXPECT_EQ(monitors().names(), std::vector<std::string>{"Duel"});
}

TEST_F(LocalRunWindow, QuittingWithAServerRunningAsksThenStopsIt) {
    startDuel();
    const pid_t pid = run().pid();
    bool quitRequested = false;
    QObject::connect(window.get(), &manager::ui::CKVServerManagerDlg::quitRequested, window.get(),
                     [&] { quitRequested = true; });
    prompter.answers = {false};
    window->close();
    EXPECT_FALSE(quitRequested);
    EXPECT_TRUE(run().canStop());
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Stop Local Servers"));

    prompter.answers = {true};
    window->action("quit")->trigger();
    EXPECT_FALSE(quitRequested); // not before the server has gone
    ASSERT_TRUE(pump([&] { return quitRequested; }, 10s));
    EXPECT_EQ(monitors().runningServers(), 0);
    EXPECT_EQ(prompter.questions.size(), 2u); // the monitor closed without a question of its own
    window.reset();
    EXPECT_NE(::kill(pid, 0), 0);
}

TEST_F(LocalRunWindow, AServerThatCannotStartGivesAMessageAndNoWindow) {
    openWindow();
    window->action("monitorLocalServers")->trigger();
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].text, QStringLiteral("There aren't any monitors currently running."));
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("No Monitors Running"));

    context.settings.serverLocation = dir.file("game/Maps"); // a folder without the server program
    context.settings.showRunLocalServerHelp = 0;
    select(QStringLiteral("Duel"));
    window->action("runSetup")->trigger();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Unable To Start Server"));
    EXPECT_TRUE(prompter.errors[0].text.contains(QStringLiteral("server.bin: No such file or directory")))
        << prompter.errors[0].text.toStdString();
    EXPECT_TRUE(monitors().names().empty());
    EXPECT_EQ(monitorWindows(), 0);
    EXPECT_TRUE(desktop.openedFiles.empty());
}

TEST_F(LocalRunWindow, ARemoteFeedsWindowHasNoStopAndClosesWithoutAsking) {
    monitor::MonitorLineStore store;
    const manager::ui::MonitorWindowMaker maker(context, prompter,
                                                [this] { desktop.openFile(QStringLiteral("help")); });
    CMonitorServerOutputWnd* remote = maker.remote(store, "Box", "10.0.0.5", "Duel");
    remote->show();
    EXPECT_EQ(remote->windowTitle(), QStringLiteral("Monitoring Remote Server \"Box\" (IP: 10.0.0.5) running Duel"));
    EXPECT_EQ(remote->stopButton(), nullptr);
    remote->helpButton()->click();
    EXPECT_EQ(desktop.openedFiles.size(), 1u);
    remote->close();
    EXPECT_TRUE(prompter.questions.empty());
}

} // namespace
} // namespace kv::test
