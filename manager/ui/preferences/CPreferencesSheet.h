#pragma once

#include "manager/core/ManagerSettings.h"

#include <QDialog>

class QDialogButtonBox;
class QTabWidget;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

class CPreferencesColorsPropertyPage;
class CPreferencesGeneralPropertyPage;
class CPreferencesHonorServerPropertyPage;
class CPreferencesMasterBanListPropertyPage;
class CPreferencesPage;
class CPreferencesPlayerAdminListPropertyPage;

// "KV Server Manager Preferences": five pages, OK, Cancel and Help. OK stores the values of every page
// that was shown and writes everything or nothing: the master ban list (when its page was shown) and the settings
// file. Run it with Prompter::runDialog; after it was accepted, settings() holds the values to take over.
class CPreferencesSheet : public QDialog {
    Q_OBJECT
public:
    CPreferencesSheet(const core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                      QWidget* parent = nullptr);

    const core::ManagerSettings& settings() const; // the values after OK

    // OK: true (and the sheet accepted) when everything was written; otherwise says what failed and stays open.
    bool confirm();
    void accept() override;
    // Help: the help page of the current page.
    void showHelp();

    QTabWidget* tabs() const { return tabs_; }
    QDialogButtonBox* buttons() const { return buttons_; }
    CPreferencesGeneralPropertyPage* generalPage() const { return general_; }
    CPreferencesColorsPropertyPage* colorsPage() const { return colors_; }
    CPreferencesPlayerAdminListPropertyPage* playerAdminPage() const { return admins_; }
    CPreferencesMasterBanListPropertyPage* masterBanListPage() const { return bans_; }
    CPreferencesHonorServerPropertyPage* honorServerPage() const { return honor_; }

private:
    CPreferencesPage* page(int index) const;

    const core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;
    core::ManagerSettings settings_;
    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    CPreferencesGeneralPropertyPage* general_ = nullptr;
    CPreferencesColorsPropertyPage* colors_ = nullptr;
    CPreferencesPlayerAdminListPropertyPage* admins_ = nullptr;
    CPreferencesMasterBanListPropertyPage* bans_ = nullptr;
    CPreferencesHonorServerPropertyPage* honor_ = nullptr;
};

} // namespace kv::manager::ui
