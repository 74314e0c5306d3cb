#pragma once

#include "agent/ui/ConfigureValues.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv::gui {
class Prompter;
}

namespace kv::agent::ui {

// "Configure KVSM Remote Control Utility": the agent's settings. Save runs the game folder check and closes the
// dialog confirmed; applying the values is the caller's business.
class CConfigureDlg : public QDialog {
    Q_OBJECT
public:
    // The filter of the control file dialogs (Select here, Select Setup in the main window), as designed.
    static constexpr const char* kControlFilter = "KVSM Server Control Files(*.Control);;All Files (*.*)";

    // `configurationsFolder` is where "Select" starts looking for control files.
    CConfigureDlg(const ConfigureValues& initial, std::string configurationsFolder, gui::Prompter& prompter,
                  QWidget* parent = nullptr);

    ConfigureValues values() const;

    // The buttons' actions.
    void changePassword();
    void selectControlFile();
    // False (with the message) when the game folder check fails; the dialog then stays open.
    bool save();

    QLineEdit* field(const char* objectName) const;
    QCheckBox* check(const char* objectName) const;
    QComboBox* restartHourBox() const { return hour_; }
    QPushButton* button(const char* objectName) const;

private:
    QLineEdit* addField(const char* name, const char* key);

    std::string configurations_;
    gui::Prompter& prompter_;
    std::string password_;
    QComboBox* hour_ = nullptr;
};

} // namespace kv::agent::ui
