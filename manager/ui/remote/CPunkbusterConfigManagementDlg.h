#pragma once

#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteRunner.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kv::core {
struct ManagerContext;
}
namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// The anti-cheat option files of one host: the two standard ones, and with "Show All" those the host lists. Ends
// with OK once a file is chosen, to edit (an existing one) or to create (a new name).
class CPunkbusterConfigManagementDlg : public QDialog {
    Q_OBJECT
public:
    CPunkbusterConfigManagementDlg(core::ManagerContext& context, gui::Prompter& prompter, remote::RemoteHost host,
                                   std::function<void()> help, QWidget* parent = nullptr);

    // Asks the host for its option files; done once on opening.
    void listConfigurations();
    // Where a listing's result goes: the host's list texts, or none when the call failed.
    void showConfigurationList(const std::vector<std::string>& texts);
    void showStandardOnly(bool standardOnly);

    void editConfiguration();
    void newConfiguration();

    const std::string& chosenFile() const { return chosen_; }
    bool chosenIsNew() const { return chosenIsNew_; }
    bool busy() const { return busy_; }

    QListWidget* list() const { return list_; }
    QPushButton* button(const char* objectName) const; // "new", "edit", "cancel", "help"
    QRadioButton* standardOnlyChoice() const { return standardOnly_; }
    QRadioButton* allChoice() const { return all_; }
    QLabel* statusLine() const { return status_; }

    void done(int result) override;

private:
    void fill();
    void updateButtons();

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    remote::RemoteHost host_;
    std::function<void()> help_;
    remote::RemoteRunner* runner_ = nullptr;
    std::vector<std::string> listed_; // the host's further files from the last listing
    std::string chosen_;
    bool chosenIsNew_ = false;
    bool busy_ = false;
    bool closed_ = false;
    QListWidget* list_ = nullptr;
    QRadioButton* standardOnly_ = nullptr;
    QRadioButton* all_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace kv::manager::ui
