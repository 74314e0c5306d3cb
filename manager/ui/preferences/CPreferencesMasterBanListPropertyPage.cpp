#include "manager/ui/preferences/CPreferencesMasterBanListPropertyPage.h"

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

namespace {

QTreeWidgetItem* rowOf(const core::BanEntry& entry) {
    return new QTreeWidgetItem(QStringList{QString::fromStdString(entry.type), QString::fromStdString(entry.value),
                                           QString::fromStdString(core::banLengthText(entry.endTime)),
                                           QString::fromStdString(entry.playerName)});
}

} // namespace

CPreferencesMasterBanListPropertyPage::CPreferencesMasterBanListPropertyPage(const core::ManagerContext& context,
                                                                             gui::Prompter& prompter,
                                                                             gui::DesktopServices& desktop,
                                                                             QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kMasterBanList, parent) {
    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("banList"));
    view_->setColumnCount(4);
    view_->setHeaderLabels({QStringLiteral("Ban Type"), QStringLiteral("Ban Value"), QStringLiteral("Ban Length"),
                            QStringLiteral("Player Name")});
    view_->header()->setStretchLastSection(false);
    const int widths[] = {70, 120, 100, 120};
    for (int column = 0; column < 4; ++column)
        view_->setColumnWidth(column, widths[column]);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setAllColumnsShowFocus(true);

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
    view_->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(list_.size()));
    for (const core::BanEntry& entry : list_)
        rows.append(rowOf(entry));
    view_->addTopLevelItems(rows);
    remove_->setEnabled(false);
}

void CPreferencesMasterBanListPropertyPage::insertAtTop(const core::BanEntry& entry) {
    list_.insert(list_.begin(), entry);
    view_->insertTopLevelItem(0, rowOf(entry));
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
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = view_->indexOfTopLevelItem(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= list_.size())
        return;
    list_.erase(list_.begin() + row);
    delete view_->takeTopLevelItem(row);
    view_->clearSelection();
    view_->setCurrentItem(nullptr);
    remove_->setEnabled(false);
}

} // namespace kv::manager::ui
