#pragma once

#include "manager/core/StatusProber.h"
#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteServerList.h"
#include "manager/ui/remote/RemoteRefresh.h"

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::monitor {
class CMonitorServerOutputWnd;
class MonitorSource;
} // namespace kv::monitor

namespace kv::remote {
class RemoteRunner;
}

namespace kv::manager::ui {

class CServerRemoteControlDlg;
class RemoteFeedSource;

struct RemoteControlOptions {
    // Opens the setup management dialog; true when it ended with OK. Unset: "Manage Server Setups" is not offered.
    std::function<bool(CServerRemoteControlDlg&)> manageSetups;
    // The host's ban list and its anti-cheat tools. Unset: "Ban List" / "PB Options" stay disabled.
    std::function<void(CServerRemoteControlDlg&)> banList;
    std::function<void(CServerRemoteControlDlg&)> antiCheat;
    // Opens a help page by file name (the main window's help).
    std::function<void(const char* page)> help;
    // Makes the output monitor window of a remote feed (the main window's MonitorWindowMaker::remote). Unset:
    // "Monitor Server" does nothing.
    std::function<monitor::CMonitorServerOutputWnd*(monitor::MonitorSource& source, const std::string& serverName,
                                                    const std::string& address, const std::string& setupName)>
        makeMonitorWindow;
    int statusPort = core::kStatusQueryPort; // the game status query of the host
    core::StatusProberTiming statusTiming;
    std::chrono::milliseconds refreshInterval{5000}; // from the end of one refresh to the start of the next
    std::string procFolder = "/proc";                // where a running game client is looked for
};

// "Server Remote Control - <server>": the state of the game server on one remote host and every remote action on
// it. Every library call runs on a worker (RemoteRunner); results come back to this window on the GUI thread, and a
// closed window hears nothing more. Refreshes never overlap: the next starts `refreshInterval` after one ended.
class CServerRemoteControlDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kHelpPage = "RunningAServerSetupRemotely.html";

    CServerRemoteControlDlg(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                            remote::RemoteServerEntry entry, RemoteControlOptions options = {},
                            QWidget* parent = nullptr);
    ~CServerRemoteControlDlg() override;

    // Shows the window and starts the first refresh and the game status query. Without remote support it says so
    // and closes instead.
    void open();

    // Shows the result of a status refresh (also how the documentation's pictures fill the window).
    void showRefresh(const RemoteRefresh& refresh);
    // Shows a game status query's report in "Server Details:" and keeps its player count.
    void showGameStatus(const core::StatusReport& report);

    // The buttons' actions.
    void startOrStop();
    void monitorServer();
    void adminInGame();
    void playGame();
    void manageServerSetups();
    void configRestart();

    // What the setup management dialog needs.
    const remote::RemoteServerEntry& entry() const { return entry_; }
    remote::RemoteHost host() const { return {entry_.address, entry_.adminName, entry_.password}; }
    const std::string& serverName() const { return entry_.serverName; }
    int playerCount() const { return playerCount_; }
    const RemoteServerStatus& serverStatus() const { return status_; }
    bool refreshing() const { return refreshing_; }
    monitor::CMonitorServerOutputWnd* monitorWindow() const;

    QLineEdit* field(const char* objectName) const;
    QPlainTextEdit* box(const char* objectName) const;
    QPushButton* button(const char* objectName) const;
    QLabel* statusLine() const { return statusLine_; }

signals:
    // The window is closing; nothing of it runs any more.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFields();
    void buildButtons();
    void refresh();
    void refreshSoon();
    void refreshNow();
    void showRunning(bool running);
    void showFailure(const RemoteRefresh& refresh);
    void showFields(const RemoteServerStatus& status);
    void updateStartStopTip();
    void startGame(bool admin);
    void tellOnce(const std::string& kind, const QString& text, const QString& caption);
    void shutDown();

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    remote::RemoteServerEntry entry_;
    RemoteControlOptions options_;
    remote::RemoteRunner* runner_ = nullptr;
    core::StatusProber* prober_ = nullptr;
    QTimer* timer_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QPointer<QWidget> monitorWindow_;
    QPointer<RemoteFeedSource> feed_;
    RemoteServerStatus status_;
    std::string restartValue_;
    std::string lastStatusText_;
    std::set<std::string> told_;
    int playerCount_ = 0;
    bool refreshing_ = false;
    bool refreshAgain_ = false;
    bool closing_ = false;
};

} // namespace kv::manager::ui
