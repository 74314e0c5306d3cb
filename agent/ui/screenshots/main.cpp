// Renders the agent's windows and dialogs (offscreen) to PNG files for the README and the manual:
//   kvagent_screenshots OUTPUT_FOLDER
// A stand-in game server (a shell script) prints a few lines of every colour, so the windows show a live run.
#include "agent/ui/CConfigureDlg.h"
#include "agent/ui/CConfigurePasswordDlg.h"
#include "agent/ui/CKVServerRemoteControlDlg.h"
#include "agent/ui/ConfigureValues.h"

#include "agent/AccessLog.h"
#include "agent/Agent.h"

#include "gui/QtPrompter.h"
#include "gui/WidgetPictures.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

using namespace kv;
using namespace kv::agent;

namespace {

const char* const kServerScript = R"SH(#!/bin/sh
echo "Log: Log file open, $(date)"
echo "Init: Version 1.8 build 1039"
echo "Init: Loading map Harbor.kvo"
echo "Init: Game engine initialized"
i=1
while [ $i -le 24 ]; do echo "Log: Heartbeat $i, map Harbor.kvo, 0 players"; i=$((i+1)); done
sleep 1
echo "Log: Browse: Harbor.kvo?Name=Player?Class=Engine.Pawn"
echo "Karma: Level geometry built (1204 convex hulls)"
echo "ScriptLog: Match Duel started, 24 slots"
echo "WARNING: Player 7 has a high ping (412 ms)"
echo "Log: Player Raven joined from 192.0.2.44"
echo "Log: Player Moth joined from 198.51.100.9"
echo "ALERT - Admin login from 127.0.0.1"
echo "ScriptLog: Round 1 of 5 begins"
exec sleep 3600
)SH";

using gui::processEventsUntil;
using gui::saveWidgetPicture;

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvagent_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    makeDirectories(out);

    char temp[] = "/tmp/kvagent-shots-XXXXXX";
    if (!::mkdtemp(temp)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string work = joinPath(temp, "agent");
    const std::string game = joinPath(temp, "Korvane");
    makeDirectories(joinPath(work, "Configurations"));
    makeDirectories(joinPath(game, "System"));
    makeDirectories(joinPath(game, "Maps"));
    const std::string server = joinPath(game, "System/server.bin");
    writeFileAtomically(server, kServerScript);
    ::chmod(server.c_str(), 0755);
    writeFileAtomically(joinPath(game, "Maps/Harbor.kvo"), "map");
    writeFileAtomically(joinPath(work, "Configurations/Duel.Control"),
                        "Name=Duel\nRunMode=GLOBAL\nMap=Harbor.kvo\nIni=Duel.ini\nGamePlayerPassword=\n"
                        "GameAdminPassword=\nDescription=Two players, five rounds0xA\n");
    writeFileAtomically(joinPath(work, "Configurations/Duel.ini"), "[Engine.GameInfo]\nMaxPlayers=24\n");

    SystemClock clock;
    AgentEnvironment env;
    env.workDir = work;
    env.clock = &clock;
    env.showFailures = true;
    env.memoryInterval = std::chrono::milliseconds(200);
    env.adminPort = 1; // nothing listens: the stop goes straight to clean-up
    env.cleanupAfterFailure = std::chrono::milliseconds(100);
    env.stopGrace = std::chrono::milliseconds(200);
    AgentSettings settings = AgentSettings::defaults();
    settings.serverIp = "192.0.2.10";
    settings.gameServerPath = game;
    settings.activeControlFile = "Duel.Control";
    settings.showMemoryUsage = true;
    settings.timedAutoRestartServer = true;

    gui::QtPrompter prompter;
    int failures = 0;
    {
        Agent agent(env, settings);
        agent::ui::CKVServerRemoteControlDlg window(agent, prompter);
        window.show();
        agent.begin();
        agent.accessLog().append(AccessLog::stamped(clock.nowSeconds() - 95, "KVSM Login Request from IP 127.0.0.1"));
        agent.accessLog().append(
            AccessLog::stamped(clock.nowSeconds() - 94, "KVSM Get Status Request from IP 127.0.0.1"));
        agent.accessLog().append(
            AccessLog::stamped(clock.nowSeconds() - 60, "KVSM Start Server Request from IP 127.0.0.1"));
        processEventsUntil([&] { return agent.outputLines().size() >= 36; }, 8000);
        for (int i = 0; i < 3; ++i) {
            processEventsUntil([] { return false; }, 400);
            agent.tick();
        }
        QCoreApplication::processEvents();
        failures += !saveWidgetPicture(window, out, "agent-main-window.png");
        if (monitor::CMonitorServerOutputWnd* monitor = window.monitorWindow()) {
            monitor->resize(640, 290);
            monitor->refresh(true);
            failures += !saveWidgetPicture(*monitor, out, "monitor-window.png");
        } else {
            std::fprintf(stderr, "no monitor window: %s\n", agent.display().statusText.c_str());
            ++failures;
        }
        agent::ui::CConfigureDlg dialog(agent::ui::ConfigureValues::fromSettings(agent.settings().snapshot(), ""),
                                        joinPath(work, "Configurations"), prompter);
        failures += !saveWidgetPicture(dialog, out, "configure-dialog.png");
        agent::ui::CConfigurePasswordDlg password(prompter);
        failures += !saveWidgetPicture(password, out, "password-dialog.png");
        agent.shutDown();
    }
    removeTree(temp);
    return failures == 0 ? 0 : 1;
}
