#include "manager/ui/preferences/CPreferencesMasterBanListPropertyPage.h"
#include "manager/ui/preferences/BanListView.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/CMasterBanEntryDlg.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "common/LocalTime.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::manager::ui {

CPreferencesMasterBanListPropertyPage::CPreferencesMasterBanListPropertyPage(const core::ManagerContext& context,
                                                                             gui::Prompter& prompter,
                                                                             gui::DesktopServices& desktop,
                                                                             QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kMasterBanList, parent) {
    view_ = new QTreeWidget(this);
    ban_view::setUp(*view_);

    add_ = new QPushButton(QStringLiteral("Add Ban Entry"), this);
    add_->setObjectName(QStringLiteral("addBanEntry"));
    add_->setAutoDefault(false);
    remove_ = new QPushButton(QStringLiteral("Remove Ban Entry"), this);
    remove_->setObjectName(QStringLiteral("removeBanEntry"));
    remove_->setAutoDefault(false);
    remove_->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Bans kept here can be merged into the ban list of any remote server with "
                                            "\"Import Master Ban List\"."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addWidget(view_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    layout->addLayout(buttons);

    connect(view_, &QTreeWidget::itemSelectionChanged, this,
            gui::guarded([this] { remove_->setEnabled(!view_->selectedItems().isEmpty()); }));
    connect(add_, &QPushButton::clicked, this, gui::guarded([this](bool) { addEntry(); }));
    connect(remove_, &QPushButton::clicked, this, gui::guarded([this](bool) { removeSelectedEntry(); }));
}

std::string CPreferencesMasterBanListPropertyPage::masterFile() const {
    return joinPath(context_.workingFolder, core::kMasterBanListFile);
}

void CPreferencesMasterBanListPropertyPage::firstShown() {
    list_.clear();
    core::mergeBanListFile(masterFile(), list_);
    fillView();
}

void CPreferencesMasterBanListPropertyPage::fillView() {
    ban_view::show(*view_, list_);
    remove_->setEnabled(false);
}

void CPreferencesMasterBanListPropertyPage::insertAtTop(const core::BanEntry& entry) {
    ban_view::insertAtTop(*view_, list_, entry);
}

void CPreferencesMasterBanListPropertyPage::addEntry() {
    const std::int64_t now = context_.clock ? context_.clock->nowSeconds() : currentSeconds();
    CMasterBanEntryDlg dialog(
        now, prompter_, [this] { openHelp(help_topic::kMasterBanList); }, this);
    if (!prompter_.runDialog(dialog))
        return;
    insertAtTop(dialog.entry());
}

void CPreferencesMasterBanListPropertyPage::removeSelectedEntry() {
    if (ban_view::removeSelected(*view_, list_))
        remove_->setEnabled(false);
}

} // namespace kv::manager::ui
