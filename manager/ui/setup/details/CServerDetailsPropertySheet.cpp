#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"

#include "manager/ui/preferences/PreferencesHelp.h"
#include "manager/ui/setup/details/CServerDetailsHUDOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsKickOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsMOTDPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsMapInfoPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsMatchOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsPlayerAdminPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsPlayerOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsSecurityOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsServerNamePropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsSpectateOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsTournamentOptionsPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsTournamentTeamsPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"

#include "gui/Prompter.h"
#include "gui/DialogButtons.h"
#include "gui/SlotGuard.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

const QString kHelpTopic = QStringLiteral("ServerDetails");

} // namespace

CServerDetailsPropertySheet::CServerDetailsPropertySheet(core::ManagerContext& context, gui::Prompter& prompter,
                                                         gui::DesktopServices& desktop, const setups::MapTable& maps,
                                                         setups::ServerSetup setup, std::string file, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), desktop_(desktop),
      library_(context.workingFolder, *context.clock), setup_(std::move(setup)), file_(std::move(file)) {
    setWindowTitle(QStringLiteral("Edit Server Setup Options"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pages"));
    const setups::GameVersion installed{context.installation.major, context.installation.minor,
                                        context.installation.build};
    auto* general = new CServerDetailsServerNamePropertyPage(
        setup_, prompter, [this](const std::string& name) { return library_.nameInUse(name, file_); }, tabs_);
    auto* tournament = new CServerDetailsTournamentOptionsPropertyPage(setup_, prompter, context.workingFolder, tabs_);
    auto* teams = new CServerDetailsTournamentTeamsPropertyPage(setup_, prompter, tabs_);
    teams->setTournamentModeQuery([tournament] { return tournament->tournamentModeEnabled(); });
    const std::pair<CServerDetailsPage*, const char*> pages[] = {
        {general, "General"},
        {new CServerDetailsMapInfoPropertyPage(setup_, prompter, maps, installed, tabs_), "Maps"},
        {new CServerDetailsMatchOptionsPropertyPage(setup_, prompter, tabs_), "Match"},
        {new CServerDetailsPlayerOptionsPropertyPage(setup_, prompter, tabs_), "Players"},
        {new CServerDetailsKickOptionsPropertyPage(setup_, prompter, tabs_), "Kick"},
        {new CServerDetailsSpectateOptionsPropertyPage(setup_, prompter, tabs_), "Spectate"},
        {new CServerDetailsSecurityOptionsPropertyPage(setup_, prompter, tabs_), "Security"},
        {new CServerDetailsHUDOptionsPropertyPage(setup_, prompter, tabs_), "Display"},
        {new CServerDetailsMOTDPropertyPage(setup_, prompter, tabs_), "Message of the Day"},
        {new CServerDetailsPlayerAdminPropertyPage(setup_, prompter, context, tabs_), "Player Admins"},
        {tournament, "Tournament Options"},
        {teams, "Tournament Teams"},
    };
    for (const auto& [page, title] : pages) {
        pages_.push_back(page);
        tabs_->addTab(page, QString::fromUtf8(title));
    }

    buttons_ = gui::okCancelHelpButtons(*this, [this] { showHelp(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
}

CServerDetailsServerNamePropertyPage* CServerDetailsPropertySheet::generalPage() const {
    return static_cast<CServerDetailsServerNamePropertyPage*>(page(General));
}

bool CServerDetailsPropertySheet::edit(core::ManagerContext& context, gui::Prompter& prompter,
                                       gui::DesktopServices& desktop, const setups::MapTable& maps,
                                       const std::string& file, QWidget* parent, std::string* savedFile) {
    setups::ServerSetup setup;
    if (!setups::SetupStore(context.workingFolder).load(file, setup)) {
        prompter.showError(parent,
                           QStringLiteral("The server setup file \"%1\" could not be read, or it names no server "
                                          "setup, so it cannot be edited.")
                               .arg(QString::fromUtf8(file.c_str())),
                           QStringLiteral("Edit Server Setup"));
        return false;
    }
    CServerDetailsPropertySheet sheet(context, prompter, desktop, maps, std::move(setup), file, parent);
    if (!prompter.runDialog(sheet))
        return false;
    if (savedFile)
        *savedFile = sheet.savedFile();
    return true;
}

void CServerDetailsPropertySheet::accept() {
    confirm();
}

bool CServerDetailsPropertySheet::confirm() {
    for (CServerDetailsPage* p : pages_)
        if (p->wasShown() && !p->check()) {
            tabs_->setCurrentWidget(p);
            return false;
        }
    // The pages write into a copy, so that a refused save leaves the sheet as it was and OK can be tried again.
    const setups::ServerSetup original = setup_;
    for (CServerDetailsPage* p : pages_)
        if (p->wasShown())
            p->store();
    setups::ServerSetup edited = setup_;
    setup_ = original;
    const setups::LibraryResult result = library_.saveEdited(edited, file_);
    if (!result.ok) {
        prompter_.showError(
            this,
            QStringLiteral("The server setup could not be saved.\n\n%1").arg(QString::fromUtf8(result.message.c_str())),
            QStringLiteral("Server Setup Not Saved"));
        return false;
    }
    setup_ = edited;
    file_ = result.path;
    savedFile_ = result.path;
    QDialog::accept();
    return true;
}

void CServerDetailsPropertySheet::showHelp() {
    openHelpTopic(context_.helpFolder, kHelpTopic, desktop_, prompter_, this);
}

} // namespace kv::manager::ui
