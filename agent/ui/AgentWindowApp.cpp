#include "agent/ui/AgentWindowApp.h"

#include "agent/ui/CKVServerRemoteControlDlg.h"
#include "agent/ui/FirstRun.h"

#include "agent/Agent.h"
#include "agent/SettingsFile.h"
#include "agent/SignalPipe.h"

#include "gui/QtPrompter.h"

#include <QApplication>

#include <cstdio>

namespace kv::agent::ui {

namespace {
bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
} // namespace

int runAgentWindow(int& argc, char** argv, const AgentEnvironment& env, AgentSettings settings, bool settingsFound,
                   const AgentServices& startServices) {
    if (!displayAvailable()) {
        std::fprintf(stderr, "kvagent: no display to open the window on; run the agent as a service with "
                             "\"kvagent --headless\"\n");
        return 2;
    }
    try {
        QApplication app(argc, argv);
        // The menu entry's name, so that a Wayland desktop shows its icon for the windows.
        QApplication::setDesktopFileName(QStringLiteral("org.kvservermanager.Agent"));
        gui::QtPrompter prompter;
        if (!settingsFound)
            runFirstRunDialog(settings, env, prompter);
        Agent agent(env, std::move(settings));
        CKVServerRemoteControlDlg window(agent, prompter);
        // SIGTERM, SIGINT and SIGHUP close the window like "Exit": settings saved, server stopped.
        SignalPipe signalPipe;
        QObject::connect(&signalPipe, &SignalPipe::terminationRequested, &window, [&window](int) { window.close(); });
        window.show();
        const std::shared_ptr<void> services = startServices ? startServices(agent) : nullptr;
        agent.begin();
        int rc = app.exec();
        if (!agent.shutDown()) {
            std::fprintf(stderr, "kvagent: %s\n", settings_file::kSaveFailedText);
            rc = rc != 0 ? rc : 1;
        }
        return rc;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvagent: %s\n", e.what());
        return 1;
    }
}

} // namespace kv::agent::ui
