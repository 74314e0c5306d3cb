#pragma once

#include "manager/remote/FleetStatus.h"
#include "manager/remote/RemoteServerList.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;
class QTimer;
class QTreeWidget;

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// "Manage Remote Servers": the remote server list with its server name, address and admin name (the password is
// held with the row, never shown), and what each host's agent says of its server, so that an administrator with
// many hosts sees them all at once. The file is read on opening and written back, as a whole, on closing by any
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

    // Asks every host for its status now, again 10 s after each whole-list refresh has ended, and the host of a
    // row just added or edited at once. Without a library the "Status" column stays empty.
    void startStatusRefresh(std::shared_ptr<const RemoteControlLibrary> library, remote::FleetOptions options = {});
    static constexpr int kStatusRefreshMs = 10000;

    // The key under which a row's host is asked (stable while the row exists), and the cell a result fills; a key
    // of a row that is gone is ignored.
    remote::FleetStatus::Key rowKey(int row) const;
    void showHostStatus(remote::FleetStatus::Key key, const remote::HostStatus& status);
    QString statusText(int row) const;

    void done(int result) override;
    // A window destroyed while open (the program ending) saves as well.
    ~CManageServersDlg() override;

    QTreeWidget* list() const { return list_; }
    QPushButton* button(const char* objectName) const;

private:
    struct RowStatus {
        remote::FleetStatus::Key key = 0;
        QString text; // empty until the host was first asked
    };

    void saveOnce() noexcept;
    void showRows(int select);
    void updateButtons();
    RowStatus newRowStatus();
    remote::FleetStatus::Host fleetHost(std::size_t row) const;
    void refreshAll();
    void refreshRow(std::size_t row);

    std::string workingFolder_;
    gui::Prompter& prompter_;
    std::function<void()> help_;
    ControlServer control_;
    std::vector<remote::RemoteServerEntry> rows_;
    std::vector<RowStatus> rowStatus_; // beside rows_, row for row
    remote::FleetStatus::Key nextKey_ = 1;
    remote::FleetStatus* fleet_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    QTreeWidget* list_ = nullptr;
    bool saved_ = false;
    bool closed_ = false;
};

} // namespace kv::manager::ui
