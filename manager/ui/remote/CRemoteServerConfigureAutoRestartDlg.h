#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QPushButton;

namespace kv::manager::ui {

// "Configure Remote Server Automatic Restart": the daily restart time of a remote server, chosen from "Do Not
// Auto-Restart" and every 10 minutes of the day on a 12-hour clock. "Set" needs an entry chosen.
class CRemoteServerConfigureAutoRestartDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpPage = "RemoteServerAutomaticRestart.html";

    // `current` is the value the agent holds ("None" or minutes); its entry is chosen at opening when there is one.
    CRemoteServerConfigureAutoRestartDlg(const std::string& current, std::function<void()> help,
                                         QWidget* parent = nullptr);

    // The text to send: "None" or the minutes after midnight; empty while no entry is chosen.
    std::string chosenValue() const;

    QComboBox* times() const { return times_; }
    QPushButton* button(const char* objectName) const;

private:
    QComboBox* times_ = nullptr;
};

} // namespace kv::manager::ui
