#pragma once

#include "manager/setups/ServerSetup.h"
#include "manager/setups/SetupLibrary.h"

#include <QDialog>

#include <string>
#include <vector>

class QDialogButtonBox;
class QTabWidget;

namespace kv::core {
struct ManagerContext;
}

namespace kv::setups {
class MapTable;
}

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

class CServerDetailsPage;
class CServerDetailsServerNamePropertyPage;
class CServerDetailsTournamentOptionsPropertyPage;

// "Edit Server Setup Options": twelve pages over one setup read from its file. OK writes back the pages that were
// shown and saves the setup under its name; a rename removes the old file only once the new one is written. A
// failed save is reported and the sheet stays open. Cancel changes no file.
class CServerDetailsPropertySheet : public QDialog {
    Q_OBJECT
public:
    // Pages in tab order; index into pages().
    enum Page {
        General,
        Maps,
        Match,
        Players,
        Kick,
        Spectate,
        Security,
        Display,
        Motd,
        PlayerAdmins,
        Tournament,
        Teams
    };

    CServerDetailsPropertySheet(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                                const setups::MapTable& maps, setups::ServerSetup setup, std::string file,
                                QWidget* parent = nullptr);

    // Loads the setup file and runs the sheet through `prompter`. A file that cannot be read is reported and the
    // sheet not shown. True when the setup was saved; `savedFile` then names its file.
    static bool edit(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                     const setups::MapTable& maps, const std::string& file, QWidget* parent,
                     std::string* savedFile = nullptr);

    // OK: true (and the sheet accepted) when the setup was saved.
    bool confirm();
    void accept() override;
    void showHelp();

    const setups::ServerSetup& setup() const { return setup_; }
    const std::string& savedFile() const { return savedFile_; }
    QTabWidget* tabs() const { return tabs_; }
    CServerDetailsPage* page(Page which) const { return pages_[static_cast<std::size_t>(which)]; }
    CServerDetailsServerNamePropertyPage* generalPage() const;

private:
    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    setups::SetupLibrary library_;
    setups::ServerSetup setup_;
    std::string file_;
    std::string savedFile_;
    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    std::vector<CServerDetailsPage*> pages_;
};

} // namespace kv::manager::ui
