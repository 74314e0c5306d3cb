#pragma once

#include "manager/core/BanList.h"
#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteRunner.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// "Ban List Management": one host's ban list, fetched on opening into "BanFile<address>.txt" in the working folder
// (the earlier copy moved aside first), edited here, merged with the master list, and sent back by "Save Changes".
// Both transfers run on workers through the runner; their outcome is told in the status line.
class CBanListManagementDlg : public QDialog {
    Q_OBJECT
public:
    // `help` opens a help page by name ("BanListManagement.html", "AddNewPlayerBan.html").
    CBanListManagementDlg(core::ManagerContext& context, gui::Prompter& prompter, remote::RemoteHost host,
                          const std::string& serverName, std::function<void(const char* page)> help,
                          QWidget* parent = nullptr);

    // Where a successful download goes: the rows replace the list, and editing opens.
    void showDownloadedList(const core::BanList& list);

    // The buttons' actions.
    void addEntry();
    void removeSelectedEntry();
    void importMasterList();
    void saveChanges();

    // The local copy, "<workingFolder>/BanFile<address>.txt"; empty when the address cannot name a file.
    const std::string& localFile() const { return localFile_; }
    const core::BanList& banList() const { return list_; }
    // A download or an upload is under way.
    bool busy() const { return busy_; }

    QTreeWidget* list() const { return view_; }
    QLabel* statusLine() const { return status_; }
    QPushButton* button(const char* objectName) const;

    void done(int result) override;

signals:
    // A download or an upload has ended.
    void idle();

private:
    enum class Upload { Failed = 0, Sent = 1, NotStored = 2 };

    void download();
    void setStatus(const QString& text);
    void setEditing(bool open);
    void fillView();
    void fitColumns();
    void finish();

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    remote::RemoteHost host_;
    std::function<void(const char*)> help_;
    std::string localFile_;
    remote::RemoteRunner* runner_ = nullptr;
    core::BanList list_;
    bool busy_ = false;
    bool closed_ = false; // results that come after the window ended are dropped
    QTreeWidget* view_ = nullptr;
    QLabel* status_ = nullptr;
};

// Runs the ban list window for one host modally through `prompter` (what the remote control window's "Ban List"
// does).
void manageRemoteBanList(core::ManagerContext& context, gui::Prompter& prompter, const remote::RemoteHost& host,
                         const std::string& serverName, std::function<void(const char* page)> help, QWidget* parent);

} // namespace kv::manager::ui
