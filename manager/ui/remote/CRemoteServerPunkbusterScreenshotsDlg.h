#pragma once

#include "manager/remote/AntiCheatFiles.h"
#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteRunner.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
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

// The anti-cheat screenshots or logs of one host. Viewing a row fetches the file into the local cache unless the
// cache already holds it whole (non-empty and of the listed size), then opens it with the desktop's viewer.
class CRemoteServerPunkbusterScreenshotsDlg : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Screenshots, Logs };

    CRemoteServerPunkbusterScreenshotsDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                          gui::DesktopServices& desktop, remote::RemoteHost host, Mode mode,
                                          std::function<void()> help, QWidget* parent = nullptr);

    // Asks the host for its index; done once on opening.
    void listFiles();
    // Where a listing's result goes: the host's index texts (none when the call failed), newest text on top.
    void showIndex(const std::vector<std::string>& texts);
    // The view button and a double click.
    void viewSelected();

    bool busy() const { return busy_; }
    Mode mode() const { return mode_; }
    const std::vector<remote::AntiCheatFileRow>& rows() const { return rows_; }
    void selectRow(int row);
    int selectedRow() const;

    QTreeWidget* list() const { return list_; }
    QPushButton* viewButton() const { return view_; }
    QLabel* statusLine() const { return status_; }

    void done(int result) override;

private:
    bool logs() const { return mode_ == Mode::Logs; }
    void setBusy(bool busy);
    void updateButtons();
    void openCached(const remote::AntiCheatFileRow& row);

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    remote::RemoteHost host_;
    Mode mode_;
    std::function<void()> help_;
    remote::RemoteRunner* runner_ = nullptr;
    std::vector<remote::AntiCheatFileRow> rows_; // as shown, top first
    bool busy_ = false;
    bool closed_ = false;
    QTreeWidget* list_ = nullptr;
    QPushButton* view_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace kv::manager::ui
