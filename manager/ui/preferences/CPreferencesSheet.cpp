#include "manager/ui/preferences/CPreferencesSheet.h"

#include "manager/core/BanList.h"
#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/CPreferencesColorsPropertyPage.h"
#include "manager/ui/preferences/CPreferencesGeneralPropertyPage.h"
#include "manager/ui/preferences/CPreferencesHonorServerPropertyPage.h"
#include "manager/ui/preferences/CPreferencesMasterBanListPropertyPage.h"
#include "manager/ui/preferences/CPreferencesPlayerAdminListPropertyPage.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "gui/Prompter.h"
#include "gui/DialogButtons.h"
#include "gui/SlotGuard.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace kv::manager::ui {

namespace {

void showMasterListNotSaved(gui::Prompter& prompter, QWidget* parent) {
    prompter.showError(parent,
                       QStringLiteral("The Master Ban List could not be saved.  Your disk may be low on space."),
                       QStringLiteral("Master Ban List Not Saved"));
}

} // namespace

CPreferencesSheet::CPreferencesSheet(const core::ManagerContext& context, gui::Prompter& prompter,
                                     gui::DesktopServices& desktop, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), desktop_(desktop), settings_(context.settings) {
    setWindowTitle(QStringLiteral("KV Server Manager Preferences"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pages"));
    general_ = new CPreferencesGeneralPropertyPage(context, prompter, desktop, tabs_);
    colors_ = new CPreferencesColorsPropertyPage(context, prompter, desktop, tabs_);
    admins_ = new CPreferencesPlayerAdminListPropertyPage(context, prompter, desktop, tabs_);
    bans_ = new CPreferencesMasterBanListPropertyPage(context, prompter, desktop, tabs_);
    honor_ = new CPreferencesHonorServerPropertyPage(context, prompter, desktop, tabs_);
    tabs_->addTab(general_, QStringLiteral("Options"));
    tabs_->addTab(colors_, QStringLiteral("Colors"));
    tabs_->addTab(admins_, QStringLiteral("Player Admin List"));
    tabs_->addTab(bans_, QStringLiteral("Master Player Ban List"));
    tabs_->addTab(honor_, QStringLiteral("Honor Server"));

    buttons_ = gui::okCancelHelpButtons(*this, [this] { showHelp(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
}

const core::ManagerSettings& CPreferencesSheet::settings() const {
    return settings_;
}

CPreferencesPage* CPreferencesSheet::page(int index) const {
    return qobject_cast<CPreferencesPage*>(tabs_->widget(index));
}

void CPreferencesSheet::accept() {
    confirm();
}

bool CPreferencesSheet::confirm() {
    // 1. Every page that was shown stores its values; the others keep the current ones.
    core::ManagerSettings updated = context_.settings;
    for (int i = 0; i < tabs_->count(); ++i)
        if (CPreferencesPage* p = page(i); p && p->wasShown())
            p->store(updated);

    // 2. The master ban list is staged first, so that nothing is written unless both files can be.
    std::optional<AtomicFile> masterList;
    if (bans_->wasShown()) {
        masterList.emplace(bans_->masterFile());
        const std::optional<std::string> text = core::banListText(bans_->banList());
        if (!text || !masterList->open() || !masterList->write(*text)) {
            masterList->discard();
            showMasterListNotSaved(prompter_, this);
            return false;
        }
    }

    // 3. The settings file; its old bytes are kept to put back if the ban list cannot be put in place after all.
    const std::string& file = context_.settingsFile;
    const std::optional<std::string> previous = readFile(file);
    std::string error;
    if (!core::writeManagerSettings(file, updated, &error)) {
        if (masterList)
            masterList->discard();
        prompter_.showError(this,
                            QStringLiteral("The preferences could not be saved in the settings file \"%1\". Nothing "
                                           "was changed.\n\n%2")
                                .arg(QString::fromStdString(file), QString::fromStdString(error)),
                            QStringLiteral("Preferences Not Saved"));
        return false;
    }

    // 4. Both are written: the ban list takes its place.
    if (masterList && !masterList->commit()) {
        if (previous)
            writeFileAtomically(file, *previous, nullptr, FlushToDisk::Yes, FileAccess::OwnerOnly);
        else
            removeFile(file);
        showMasterListNotSaved(prompter_, this);
        return false;
    }

    settings_ = updated;
    QDialog::accept();
    return true;
}

void CPreferencesSheet::showHelp() {
    if (CPreferencesPage* p = page(tabs_->currentIndex()))
        openHelpTopic(context_.helpFolder, p->helpTopic(), desktop_, prompter_, this);
}

} // namespace kv::manager::ui
