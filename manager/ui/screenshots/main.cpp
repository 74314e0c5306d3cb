// Renders the manager's windows (offscreen) to PNG files for the README and the manual:
//   kvmanager_screenshots OUTPUT_FOLDER
// The main window shows a small library written into a temporary working folder, with one setup selected. The
// local run's monitor shows a small script standing in for the game server.
#include "manager/remote/RemoteServerList.h"
#include "manager/ui/CKVServerManagerDlg.h"
#include "manager/ui/CReplaceOrRenameDlg.h"
#include "manager/ui/CServerMonitorDlg.h"
#include "manager/ui/LocalMonitors.h"
#include "manager/ui/SetupBrowser.h"
#include "manager/ui/leagues/LeagueScreenshots.h"
#include "manager/ui/preferences/PreferencesScreenshots.h"
#include "manager/ui/remote/CBanListAddNewPlayerDlg.h"
#include "manager/ui/remote/CBanListManagementDlg.h"
#include "manager/ui/remote/CConfigurePunkBusterServerOptions.h"
#include "manager/ui/remote/CEditServerDlg.h"
#include "manager/ui/remote/CManageServersDlg.h"
#include "manager/ui/remote/CPunkBusterOptionsDlg.h"
#include "manager/ui/remote/CPunkbusterConfigManagementDlg.h"
#include "manager/ui/remote/CPunkbusterCreateNewConfigurationDlg.h"
#include "manager/ui/remote/CRemoteServerConfigurationManagementDlg.h"
#include "manager/ui/remote/CRemoteServerConfigureAutoRestartDlg.h"
#include "manager/ui/remote/CRemoteServerPunkbusterScreenshotsDlg.h"
#include "manager/ui/remote/CServerRemoteControlDlg.h"
#include "manager/ui/setup/CNewServerSetupWizard.h"
#include "manager/ui/setup/CSelectNewServerTypeDlg.h"
#include "manager/ui/setup/WizardRules.h"
#include "manager/ui/setup/WizardState.h"
#include "manager/ui/setup/details/DetailsScreenshots.h"

#include "manager/core/ManagerContext.h"
#include "manager/core/ManagerFolders.h"
#include "manager/local/LocalRunPlan.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/ShippedData.h"

#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "common/InstallLayout.h"
#include "gui/QtPrompter.h"
#include "gui/WidgetPictures.h"
#include "gui/XdgDesktopServices.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <tuple>

using namespace kv;

namespace {

using gui::processEventsUntil;
using gui::saveWidgetPicture;

struct Example {
    const char* name;
    const char* map; // empty: a rotation of `rotation`
    std::vector<const char*> rotation;
    int maxPlayers;
    const char* event; // non-null: a tournament
    int teamSize;
    const char* description;
};

// A library an administrator might keep: public servers, a rotation, club nights and two tournaments.
void writeLibrary(const setups::SetupStore& store) {
    const setups::MapTable maps = setups::MapTable::builtIn();
    auto title = [&](std::size_t i) { return maps.row(i % maps.size()).title.c_str(); };
    const std::vector<Example> examples = {
        {"Public Quarry", title(0), {}, 16, nullptr, 0, "Open to everyone, friendly fire off."},
        {"Quarry Night Shift", title(0), {}, 12, nullptr, 0, "Thursday evenings for the clan."},
        {"Public Second Map", title(1), {}, 20, nullptr, 0, "The busiest public server."},
        {"Weekend Rotation",
         "",
         {title(0), title(1), title(2), title(3), title(4)},
         24,
         nullptr,
         0,
         "Five maps, one round each."},
        {"Short Rotation", "", {title(2), title(3)}, 12, nullptr, 0, "Two small maps for quiet hours."},
        {"Training Ground", title(2), {}, 8, nullptr, 0, "For new players learning the maps."},
        {"Spring Cup Final", title(1), {}, 12, "Spring Cup", 6, "The final of the spring cup."},
        {"Spring Cup Semi", title(3), {}, 12, "Spring Cup", 6, "Semi-finals."},
        {"Scrim 4v4", title(4), {}, 8, "", 4, "Practice matches between clans."},
    };
    for (const Example& e : examples) {
        setups::ServerSetup setup;
        setup.m_csName = e.name;
        setup.m_csServerName = std::string("Harbor Gaming - ") + e.name;
        setup.m_iMaxPlayers = e.maxPlayers;
        setup.m_csAdminName = "admin";
        setup.m_csAdminPassword = "changeme";
        setup.m_csSetupDescription = e.description;
        if (e.rotation.empty()) {
            setup.m_csMapName = e.map;
            if (const setups::MapInfo* info = maps.find(e.map))
                setup.m_csMapFile = info->name;
        } else {
            setup.m_fCycleMaps = 1;
            for (std::size_t i = 0; i < e.rotation.size(); ++i)
                setup.m_acsCycleMapList[i] = e.rotation[i];
        }
        if (e.event) {
            setup.m_fTournamentModeEnabled = 1;
            setup.m_csTournamentEventName = e.event;
            setup.m_iMaxTeamSize = e.teamSize;
        }
        std::string error;
        if (!store.save(setup, &error))
            std::fprintf(stderr, "could not write %s: %s\n", e.name, error.c_str());
    }
}

// Prints what a game server prints while it starts and while players come and go, then waits to be stopped.
constexpr const char* kServerScript = R"sh(#!/bin/sh
echo "Log: Korvane dedicated server 1.0.0"
echo "Log: Command line: $*"
echo "Init: Run mode: $1"
echo "Init: Reading configuration Public Quarry.ini"
echo "Init: Server name: Harbor Gaming - Public Quarry"
echo "Warning: Sound device not found, audio disabled (dedicated server)" >&2
echo "Init: Loading map $2"
echo "Net: Admin interface listening on 0.0.0.0:49600"
echo "Net: Status queries answered on 0.0.0.0:1717 (UDP)"
echo "Init: Max players 16, 5 rounds per match"
echo "Init: Game engine initialized in 1.02 seconds"
echo "Game: Round 1 of 5 started on $2"
echo "Game: Player Rook joined (team 0)"
echo "Game: Player Vesna joined (team 1)"
echo "Karma: Rook +5 (objective secured)"
echo "Game: Player Tallis joined (team 0)"
echo "WARNING: Player Moss kicked: ping above 400 ms"
echo "Game: Vesna eliminated Tallis"
echo "Karma: Vesna +2 (elimination)"
echo "Game: Player Orrin joined (team 1)"
exec sleep 600
)sh";

// Starts a setup of the library with the script above as its server program; false when it did not start.
bool runLocally(manager::ui::CKVServerManagerDlg& window, core::ManagerContext& context, const char* name) {
    const std::string file = setups::SetupStore(context.workingFolder).pathFor(name);
    manager::local::LocalRunPlan plan = manager::local::LocalRunPlan::make(context, window.browser()->maps(), file);
    std::string error;
    if (!plan.ok ||
        window.localMonitors()->run(std::move(plan.request), &error) != manager::ui::LocalMonitors::Outcome::Started) {
        std::fprintf(stderr, "could not run %s: %s%s\n", name, plan.message.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

// The first page of the standard wizard and the last page (the summary) of the tournament wizard.
bool saveWizardPictures(const core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                        const setups::MapTable& maps, const std::string& out) {
    const setups::GameVersion installed{context.installation.major, context.installation.minor,
                                        context.installation.build};
    bool ok = true;
    for (const auto& [kind, name, last] :
         {std::tuple{manager::ui::SetupKind::Standard, "wizard-map.png", false},
          std::tuple{manager::ui::SetupKind::Tournament, "wizard-summary.png", true}}) {
        manager::ui::WizardState state{{}, kind, context, prompter, maps, installed};
        manager::ui::prepareNewSetup(state.setup, kind, context.settings, maps, installed);
        state.setup.m_csServerName = "Harbor Gaming";
        manager::ui::CNewServerSetupWizard wizard(state, desktop);
        if (last) { // straight to the summary: stepping through would ask the page questions
            wizard.setStartId(wizard.pageIds().last());
            wizard.restart();
        }
        ok = saveWidgetPicture(wizard, out, name) && ok;
        wizard.hide();
    }
    return ok;
}

// The remote server list with hosts in varied states, filled as a status refresh fills it, and the editor of one of
// them; the new setup kind choice.
bool saveRemoteAndKindPictures(const std::string& work, gui::Prompter& prompter, const std::string& out) {
    const std::vector<remote::RemoteServerEntry> hosts = {{"Harbor Gaming East", "192.0.2.10", "Admin", "tide-42"},
                                                          {"Harbor Gaming West", "198.51.100.7", "Admin", "reef-17"},
                                                          {"Spring Cup", "203.0.113.25", "Referee", "cup-2026"},
                                                          {"Night League", "203.0.113.40", "Referee", "owl-9"},
                                                          {"Training Box", "192.0.2.77", "Coach", "drill-3"},
                                                          {"Old Lighthouse", "198.51.100.200", "Admin", "lamp-1"}};
    using Reach = remote::HostStatus::Reach;
    const remote::HostStatus states[] = {{Reach::Answered, "Running", "Capture Weekend", 125, 14},
                                         {Reach::Answered, "Stopped", "Duel Night", 0, -1},
                                         {Reach::Answered, "Never Started", "", 0, -1},
                                         {Reach::Checking, "", "", 0, -1},
                                         {Reach::NotReachable, "", "", 0, -1},
                                         {Reach::LoginRefused, "", "", 0, -1}};
    bool ok = remote::writeRemoteServerList(work, hosts);
    {
        manager::ui::CManageServersDlg manage(work, prompter, [] {});
        for (int row = 0; row < static_cast<int>(std::size(states)); ++row)
            manage.showHostStatus(manage.rowKey(row), states[row]);
        manage.selectRow(0);
        ok = saveWidgetPicture(manage, out, "remote-servers.png") && ok;
        manage.hide();
    }
    manager::ui::CEditServerDlg edit(prompter, [] {});
    edit.setEntry(hosts[1]);
    ok = saveWidgetPicture(edit, out, "remote-server-edit.png") && ok;
    manager::ui::CSelectNewServerTypeDlg kind;
    ok = saveWidgetPicture(kind, out, "new-setup-kind.png") && ok;
    return ok;
}

// The setups stored on a remote host with players on it, filled the way a listing fills them (no agent needed).
bool saveRemoteSetupsPicture(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                             const std::string& out) {
    manager::ui::CRemoteServerConfigurationManagementDlg setups(
        context, prompter, desktop, {"192.0.2.10", "Admin", "tide-42"}, "Harbor Gaming East", 3, [] {}, [] {});
    setups.showSetupList({"Public Quarry,Quarry.kvo,GLOBAL,1764950400", "Weekend Rotation,Harbor.kvo,GLOBAL,1765040000",
                          "Club Night,Dunes.kvo,LAN,1765112345", "Spring Cup Final,Quarry.kvo,TOURNAMENT,1765187000"});
    setups.selectRow(1);
    const bool ok = saveWidgetPicture(setups, out, "remote-setups.png");
    setups.hide();
    return ok;
}

// A host's ban list filled the way a download fills it (no agent needed), and the add dialog with an IP ban.
bool saveBanListPictures(core::ManagerContext& context, gui::Prompter& prompter, const std::string& out) {
    manager::ui::CBanListManagementDlg bans(context, prompter, {"192.0.2.10", "Admin", "tide-42"}, "Harbor Gaming East",
                                            [](const char*) {});
    const std::int64_t now = context.clock->nowSeconds();
    bans.showDownloadedList({{"NAME", "Griefer99", 0, "Griefer99"},
                             {"IP", "198.51.100.23", static_cast<std::int32_t>(now + 14 * 86400), "Moth"},
                             {"MAC", "00-1A-2B-3C-4D-5E", 0, "Raven"},
                             {"NAME", "Spammer", static_cast<std::int32_t>(now + 3 * 86400), "Spammer"}});
    bans.list()->topLevelItem(1)->setSelected(true);
    bool ok = saveWidgetPicture(bans, out, "remote-ban-list.png");
    manager::ui::CBanListAddNewPlayerDlg add(
        now + 7 * 86400, prompter, [] {}, &bans);
    add.field("playerName")->setText(QStringLiteral("Moth"));
    add.choice("byIp")->setChecked(true);
    add.field("playerIp")->setText(QStringLiteral("198.51.100.23"));
    ok = saveWidgetPicture(add, out, "remote-ban-add.png") && ok;
    add.hide();
    bans.hide();
    return ok;
}

// The anti-cheat option editor and the screenshot and log lists of a host, filled the way a download and a listing
// fill them (no agent needed).
bool saveAntiCheatPictures(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                           const std::string& out) {
    const remote::RemoteHost host{"192.0.2.10", "Admin", "tide-42"};
    manager::ui::CConfigurePunkBusterServerOptions editor(context, prompter, host, "pbsv.cfg", false, [] {});
    bool ok = writeFileAtomically(editor.workingCopy(), "PB_SV_Enable\nPB_SV_AutoSs 1\nPB_SV_AutoSsFrom 120\n"
                                                        "PB_SV_AutoSsTo 600\nPB_SV_KickLen 5\nPB_SV_SsWidth 320\n");
    editor.showDownloaded(true);
    if (QListWidgetItem* item = editor.settingsList()->item(4)) {
        editor.settingsList()->setCurrentItem(item);
        emit editor.settingsList()->itemDoubleClicked(item);
    }
    ok = saveWidgetPicture(editor, out, "anticheat-editor.png") && ok;
    editor.hide();

    using Files = manager::ui::CRemoteServerPunkbusterScreenshotsDlg;
    Files shots(context, prompter, desktop, host, Files::Mode::Screenshots, [] {});
    shots.showIndex({"pb000118.png,1765040000,18211", "pb000119.png,1765043620,17950", "pb000120.png,1765112345,18804",
                     "pb000121.png,1765187000,18377"});
    shots.selectRow(1);
    ok = saveWidgetPicture(shots, out, "anticheat-screenshots.png") && ok;
    shots.hide();
    Files logs(context, prompter, desktop, host, Files::Mode::Logs, [] {});
    logs.showIndex({"pb000041.log,1764950400,1536", "pb000042.log,1765040000,48230", "pb000043.log,1765187000,9301"});
    logs.selectRow(0);
    ok = saveWidgetPicture(logs, out, "anticheat-logs.png") && ok;
    logs.hide();

    manager::ui::CPunkBusterOptionsDlg options;
    ok = saveWidgetPicture(options, out, "anticheat-options.png") && ok;
    options.hide();
    manager::ui::CPunkbusterConfigManagementDlg files(context, prompter, host, [] {});
    files.showConfigurationList({"league.cfg,512", "scrim.cfg,230"});
    files.list()->setCurrentRow(2);
    ok = saveWidgetPicture(files, out, "anticheat-option-files.png") && ok;
    files.hide();
    manager::ui::CPunkbusterCreateNewConfigurationDlg name(prompter);
    name.nameField()->setText(QStringLiteral("cup2027"));
    ok = saveWidgetPicture(name, out, "anticheat-new-option-file.png") && ok;
    return ok;
}

// A remote control window of a host whose server runs, filled as a refresh and a game status query fill it, and
// the restart time dialog opened on its value.
bool saveRemoteControlPictures(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                               const std::string& out) {
    manager::ui::RemoteControlOptions options;
    options.manageSetups = [](manager::ui::CServerRemoteControlDlg&) { return false; };
    options.banList = [](manager::ui::CServerRemoteControlDlg&) {};
    options.antiCheat = [](manager::ui::CServerRemoteControlDlg&) {};
    manager::ui::CServerRemoteControlDlg control(context, prompter, desktop,
                                                 {"Harbor Gaming East", "192.0.2.10", "Admin", "tide-42"}, options);
    manager::ui::RemoteRefresh refresh;
    refresh.statusOk = true;
    refresh.status = {"Public Quarry",
                      "Running",
                      "Quarry.kvo",
                      "Public Quarry\nGame Type: Capture the Flag\nMap: Quarry.kvo\nMax Players: 16\nRounds Per "
                      "Match: 3\nFriendly Fire: Off",
                      "adm-77",
                      "",
                      1385,
                      1,
                      183412,
                      201588};
    refresh.restartOk = true;
    refresh.restartTime = "300";
    control.showRefresh(refresh);
    core::StatusReport report;
    report.answered = true;
    report.status = core::ServerStatus({{"Version", "1.4.2"},
                                        {"MapName", "Quarry"},
                                        {"NumberPlayers", "9"},
                                        {"MaxPlayers", "16"},
                                        {"CurrentRound", "2/3"},
                                        {"MissionTime", "12:40"},
                                        {"ScoreTeam0", "3"},
                                        {"ScoreTeam1", "2"},
                                        {"MaxHonor", "100"}},
                                       {});
    report.playerCount = report.status.playerCount();
    report.summary = core::statusSummary(report.status);
    control.showGameStatus(report);
    control.statusLine()->setText(QStringLiteral("Server Remote Control status retrieved."));
    bool ok = saveWidgetPicture(control, out, "remote-control.png");
    control.hide();
    manager::ui::CRemoteServerConfigureAutoRestartDlg restart(refresh.restartTime, {});
    ok = saveWidgetPicture(restart, out, "remote-restart-time.png") && ok;
    return ok;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvmanager_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    try {
        QApplication app(argc, argv);
        makeDirectories(out);
        QTemporaryDir temp;
        const std::string work = joinPath(temp.path().toStdString(), "work");
        setups::prepareWorkingFolder(work, core::shippedDataFolder(runningProgramFolder()));
        writeLibrary(setups::SetupStore(work));

        const SystemClock clock;
        core::ManagerContext context;
        context.workingFolder = work;
        context.documentsFolder = joinPath(temp.path().toStdString(), "Documents");
        context.settingsFile = joinPath(temp.path().toStdString(), "Korvane.conf");
        context.settings.firstRun = 0;
        context.clock = &clock;
        gui::QtPrompter prompter;
        gui::XdgDesktopServices desktop;
        bool ok = true;

        manager::ui::CKVServerManagerDlg window(context, prompter, desktop, {false, false});
        bool shown = false;
        QObject::connect(&window, &manager::ui::CKVServerManagerDlg::libraryShown, &window, [&shown] { shown = true; });
        window.start();
        ok = processEventsUntil([&] { return shown; }, 20000) && ok;
        manager::ui::SetupTree* tree = window.browser()->tree();
        for (QTreeWidgetItem* item : tree->findItems(QStringLiteral("Weekend Rotation"), Qt::MatchRecursive))
            tree->selectNode(item);
        ok = saveWidgetPicture(window, out, "manager-main.png") && ok;

        manager::ui::CReplaceOrRenameDlg replace(&window);
        ok = saveWidgetPicture(replace, out, "manager-replace-or-rename.png") && ok;

        ok = manager::ui::saveDetailsScreenshots(context, out) && ok;

        // Two setups run locally: the monitor of one, and the list of both.
        const std::string system = joinPath(temp.path().toStdString(), "game/System");
        makeDirectories(system);
        ok = writeFileAtomically(joinPath(system, "server.bin"), kServerScript) &&
             ::chmod(joinPath(system, "server.bin").c_str(), 0755) == 0 && ok;
        context.settings.serverLocation = system;
        if (runLocally(window, context, "Public Quarry") && runLocally(window, context, "Spring Cup Final")) {
            manager::ui::LocalMonitors& monitors = *window.localMonitors();
            monitor::CMonitorServerOutputWnd* monitor = monitors.window("Public Quarry");
            const auto* run = monitors.localRun("Public Quarry");
            ok = processEventsUntil([&] { return run->lines().size() >= 20; }, 10000) && ok;
            processEventsUntil([] { return false; }, 300);
            ok = saveWidgetPicture(*monitor, out, "monitor-local-run.png") && ok;

            manager::ui::CServerMonitorDlg active(monitors.names(), &window);
            active.list()->setCurrentRow(0);
            ok = saveWidgetPicture(active, out, "active-server-monitors.png") && ok;
            active.hide();

            bool stopped = false;
            QObject::connect(&monitors, &manager::ui::LocalMonitors::allStopped, &window,
                             [&stopped] { stopped = true; });
            monitors.stopAll();
            processEventsUntil([&] { return stopped; }, 20000);
        } else {
            ok = false;
        }

        manager::ui::savePreferencesScreenshots(context, QString::fromStdString(out));
        ok = manager::ui::saveLeagueScreenshots(context, window.browser()->maps(),
                                                setups::SetupStore(work).pathFor("Spring Cup Final"), out) &&
             ok;

        ok = saveWizardPictures(context, prompter, desktop, window.browser()->maps(), out) && ok;
        ok = saveRemoteAndKindPictures(work, prompter, out) && ok;
        ok = saveRemoteSetupsPicture(context, prompter, desktop, out) && ok;
        ok = saveBanListPictures(context, prompter, out) && ok;
        ok = saveAntiCheatPictures(context, prompter, desktop, out) && ok;
        ok = saveRemoteControlPictures(context, prompter, desktop, out) && ok;

        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvmanager_screenshots: %s\n", e.what());
        return 1;
    }
}
