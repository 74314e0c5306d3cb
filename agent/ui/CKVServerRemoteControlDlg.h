#pragma once

#include "monitor/CMonitorServerOutputWnd.h"

#include <QMainWindow>
#include <QPointer>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kv::gui {
class Prompter;
}

namespace kv::agent {
class Agent;
class GameServerRun;
} // namespace kv::agent

namespace kv::agent::ui {

struct ConfigureValues;

// The agent's main window: the supervision figures, the access log, "Restart Server Now" and the menus. It only
// shows the core's state and passes requests on; the core keeps its own timers and threads. Each run of the game
// server gets a monitor window; closing the main window shuts the agent down.
class CKVServerRemoteControlDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kSupportUrl = "https://www.korvane.example/server-manager/support";
    static constexpr const char* kManualFile = "Getting Started With the KVSM Remote Control Utility.pdf";

    CKVServerRemoteControlDlg(Agent& agent, gui::Prompter& prompter, QWidget* parent = nullptr);
    ~CKVServerRemoteControlDlg() override;

    // Menu and button actions.
    void selectSetup();
    void openOptions();
    // Applies a confirmed settings dialog: fields, a restart when the control file changed, then the file.
    void applyOptions(const ConfigureValues& values);
    void restartServerNow();
    void showAbout();
    void openSupportWebsite();
    void openManual();

    // Shows the core's current texts and the settings-dependent fields.
    void showState();

    monitor::CMonitorServerOutputWnd* monitorWindow() const;
    // The value field next to a label, by object name ("serverStatus", "upTime", ...).
    QLineEdit* valueField(const char* objectName) const;
    QPlainTextEdit* commandField() const { return command_; }
    QListWidget* accessLogList() const { return accessLog_; }
    QPushButton* restartButton() const { return restart_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void onRunChanged(GameServerRun* run);
    void addAccessLine(const QString& line);

    Agent& agent_;
    gui::Prompter& prompter_;
    QPointer<monitor::CMonitorServerOutputWnd> monitor_;
    QPlainTextEdit* command_ = nullptr;
    QListWidget* accessLog_ = nullptr;
    QPushButton* restart_ = nullptr;
    QLabel* failuresLabel_ = nullptr;
    QLabel* memoryLabel_ = nullptr;
    QLabel* pagingLabel_ = nullptr;
};

} // namespace kv::agent::ui
