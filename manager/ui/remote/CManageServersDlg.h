#pragma once

#include "manager/remote/RemoteServerList.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// "Manage Remote Servers": the remote server list with its server name, address and admin name (the password is
// held with the row, never shown). The file is read on opening and written back, as a whole, on closing by any
// means.
class CManageServersDlg : public QDialog {
    Q_OBJECT
public:
    // Opens a remote control window for an entry. While none is given, "Control Server" stays disabled and says
    // that it is not available yet.
    using ControlServer = std::function<void(const remote::RemoteServerEntry&)>;

    CManageServersDlg(std::string workingFolder, gui::Prompter& prompter, std::function<void()> help,
                      ControlServer control = {}, QWidget* parent = nullptr);

    const std::vector<remote::RemoteServerEntry>& rows() const { return rows_; }
    int selectedRow() const;
    void selectRow(int row);

    void addServer();
    void editServer();
    void removeServer();
    void controlServer();

    void done(int result) override;
    // A window destroyed while open (the program ending) saves as well.
    ~CManageServersDlg() override;

    QTreeWidget* list() const { return list_; }
    QPushButton* button(const char* objectName) const;

private:
    void saveOnce() noexcept;
    void showRows(int select);
    void updateButtons();

    std::string workingFolder_;
    gui::Prompter& prompter_;
    std::function<void()> help_;
    ControlServer control_;
    std::vector<remote::RemoteServerEntry> rows_;
    QTreeWidget* list_ = nullptr;
    bool saved_ = false;
};

} // namespace kv::manager::ui
