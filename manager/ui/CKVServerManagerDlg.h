#pragma once

#include "manager/local/LocalRunOptions.h"
#include "manager/setups/SetupLibrary.h"
#include "manager/ui/CSplashWnd.h"
#include "manager/ui/SetupTree.h"
#include "manager/ui/remote/CServerRemoteControlDlg.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QPushButton;
class QSystemTrayIcon;
class QVBoxLayout;

namespace kv::core {
struct ManagerContext;
struct ManagerSettings;
} // namespace kv::core

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

class LocalMonitors;
class MonitorWindowMaker;
class RemoteControlWindows;
class SetupBrowser;

struct MainWindowOptions {
    // Keep the splash up for two seconds less the whole seconds the first load took, so that it can be read; a
    // benchmark or a test turns this off.
    bool minimumSplashTime = true;
    // Ask the first-run greeting once the library is shown (screenshots leave it out).
    bool greetOnFirstRun = true;
    // Timings of the setups run on this machine (tests shorten the stop's grace time).
    local::LocalRunOptions localRun = {};
    // What the remote control windows are opened with (tests point the status query at the simulator); the help
    // is the main window's.
    RemoteControlOptions remoteControl = {};
};

// The manager's main window: the setup library tree with the selected setup's description, and the library
// commands. Every command acts on the file of the selected setup node.
class CKVServerManagerDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "KV Server Manager";
    static constexpr const char* kGettingStartedPage = "GettingStarted.html";
    static constexpr const char* kMainWindowPage = "MainWindow.html";
    static constexpr const char* kRunLocalServerPage = "RunLocalServer.html";
    static constexpr const char* kServerMonitorPage = "ServerMonitorHelp.html";
    static constexpr const char* kManageRemoteServersPage = "ManageRemoteControlServers.html";
    static constexpr const char* kRemoteSetupsPage = "RemoteServerSetupManagement.html";

    CKVServerManagerDlg(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                        MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~CKVServerManagerDlg() override;

    // Shows the window under the splash and starts reading the library; libraryShown() follows.
    void start();

    // Commands.
    void newSetup();
    void editSetup();
    void copySetup();
    void deleteSetup();
    void addEmailedSetup();
    void generatePackage();
    void emailSetup();
    void runSetup();
    void monitorLocalServers();
    void openPreferences();
    // "Manage Remote Servers"; offered only while the client library is bound.
    void manageRemoteServers();
    void setViewFilter(ViewFilter filter);
    void hideManager();
    void showManager();
    void quit();
    void openHelpPage(const char* page);
    void showAbout();

    // Takes new preferences and repaints with their colours.
    void applySettings(const core::ManagerSettings& settings);

    SetupBrowser* browser() const { return browser_; }
    LocalMonitors* localMonitors() const { return monitors_; }
    RemoteControlWindows* remoteControlWindows() const { return remoteWindows_; }
    CSplashWnd* splash() const { return splash_.data(); }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    // A menu command or button by object name ("copySetup", "showStandard", ...).
    QAction* action(const char* objectName) const;
    QPushButton* button(const char* objectName) const;

signals:
    // The first load is complete, the tree filled and the splash closed.
    void libraryShown();
    // Ends the manager; with local servers running it comes once they have been stopped.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildButtons(QWidget* central, QVBoxLayout* layout);
    void onLoaded();
    void finishStart();
    void greetFirstRun();
    void updateCommands();
    void applyColours();
    bool ready() const;
    // True when the manager may end now; with local servers running it asks first and, on Yes, ends once they have
    // been stopped.
    bool beginQuit();
    void finishQuit();
    // The manager ends: the remote control windows go first, without waiting for the network.
    void markQuitting();
    // Shows a library failure; false when `result` is one.
    bool reportFailure(const setups::LibraryResult& result, const char* caption);

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    MainWindowOptions options_;
    setups::SetupLibrary library_;
    SetupBrowser* browser_ = nullptr;
    std::unique_ptr<MonitorWindowMaker> monitorMaker_;
    LocalMonitors* monitors_ = nullptr;
    RemoteControlWindows* remoteWindows_ = nullptr;
    QPointer<CSplashWnd> splash_;
    QActionGroup* viewGroup_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    bool started_ = false;
    bool shown_ = false;
    bool quitting_ = false;
    bool stoppingServers_ = false;
};

} // namespace kv::manager::ui
