#pragma once

#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteRunner.h"
#include "manager/remote/RemoteSetupRows.h"
#include "manager/remote/RemoteSetupUpload.h"

#include <QDialog>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

// "Remote Server Setups Management": the setups stored on one remote host, with adding a local setup, updating or
// replacing one from the local library, downloading one into it (and editing it there before sending it back),
// removing one, and making one the host's active setup. Every library call runs on a worker through the runner;
// while one runs, nothing that starts another is enabled. It ends with OK only after a successful activation.
class CRemoteServerConfigurationManagementDlg : public QDialog {
    Q_OBJECT
public:
    CRemoteServerConfigurationManagementDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                            gui::DesktopServices& desktop, remote::RemoteHost host,
                                            std::string serverName, int playerCount, std::function<void()> help,
                                            std::function<void()> librarySetupsChanged, QWidget* parent = nullptr);

    // Asks the host for its setups. Also done once on opening.
    void listSetups();
    // Shows the host's list texts, last first, and ends the busy state: where a listing's result goes.
    void showSetupList(const std::vector<std::string>& texts);

    void addSetup();
    void updateSetup();
    void downloadSetup();
    void editSetup(); // download, edit, upload again
    void removeSetup();
    void activateSetup();

    bool busy() const { return busy_; }
    const std::vector<remote::RemoteSetupRow>& rows() const { return rows_; }
    int selectedRow() const;
    void selectRow(int row);

    QTreeWidget* list() const { return list_; }
    QPushButton* button(const char* objectName) const;
    QLabel* playerWarning() const { return warning_; }
    QLabel* statusLine() const { return status_; }
    // The list's context menu: "update", "download" and "edit" actions.
    QMenu* contextMenu() const { return menu_; }

    void done(int result) override;

signals:
    // The busy state has ended (an operation finished or failed).
    void idle();

private:
    enum class Pause { None, Around };
    using Finish = std::function<void(int result)>;

    bool run(remote::RemoteRunner::Call call, Finish finish);
    void enterBusy();
    void leaveBusy();
    void listingFailed();
    void updateButtons();
    void fitColumns();
    void setStatus(const QString& text);
    std::string selectedName() const;
    bool localPathFor(const std::string& name, std::string& path, const QString& caption);
    std::optional<remote::SetupUpload> prepareUpload(const std::string& setupFile);
    void upload(remote::SetupUpload upload, Pause pause);
    void download(bool thenEdit);
    void editDownloaded(const std::string& file);

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    remote::RemoteHost host_;
    std::string serverName_;
    int playerCount_ = 0;
    std::function<void()> help_;
    std::function<void()> librarySetupsChanged_;
    remote::RemoteRunner* runner_ = nullptr;
    std::vector<remote::RemoteSetupRow> rows_;
    bool busy_ = false;
    bool available_ = false; // the last listing succeeded
    bool closed_ = false;    // results that come after the window ended are dropped
    QTreeWidget* list_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* menu_ = nullptr;
};

// Runs the setup management window for one host modally through `prompter`; true when it ended with OK (a setup
// was activated, so the caller refreshes the host's status).
bool manageRemoteSetups(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                        const remote::RemoteHost& host, const std::string& serverName, int playerCount,
                        std::function<void()> help, std::function<void()> librarySetupsChanged, QWidget* parent);

} // namespace kv::manager::ui
