#include "manager/ui/preferences/CPreferencesPlayerAdminListPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kv::manager::ui {

namespace {
const QChar kSeparator = QLatin1Char('&');
}

CPreferencesPlayerAdminListPropertyPage::CPreferencesPlayerAdminListPropertyPage(const core::ManagerContext& context,
                                                                                 gui::Prompter& prompter,
                                                                                 gui::DesktopServices& desktop,
                                                                                 QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kPlayerAdminList, parent) {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("playerAdmins"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("playerName"));
    field_->setMaxLength(255);
    field_->installEventFilter(this);
    add_ = new QPushButton(QStringLiteral("Add Player Admin"), this);
    add_->setObjectName(QStringLiteral("addPlayerAdmin"));
    add_->setAutoDefault(false);
    remove_ = new QPushButton(QStringLiteral("Remove"), this);
    remove_->setObjectName(QStringLiteral("removePlayerAdmin"));
    remove_->setAutoDefault(false);
    hint_ = new QLabel(QStringLiteral("A player name cannot contain \"&\": the list is stored with \"&\" after "
                                      "each name."),
                       this);
    hint_->setObjectName(QStringLiteral("ampersandHint"));
    hint_->setWordWrap(true);
    hint_->setVisible(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Default Player Administrators of new server setups:"), this), 0, 0, 1,
                    3);
    grid->addWidget(list_, 1, 0, 1, 2);
    grid->addWidget(remove_, 1, 2, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("Player Name:"), this), 2, 0);
    grid->addWidget(field_, 2, 1);
    grid->addWidget(add_, 2, 2);
    grid->addWidget(hint_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    for (const QString& name : splitNames(context.settings.defaultPlayerAdminList))
        insertSorted(name);

    connect(field_, &QLineEdit::textChanged, this, gui::guarded([this](const QString&) { updateButtons(); }));
    connect(list_, &QListWidget::itemSelectionChanged, this, gui::guarded([this] { updateButtons(); }));
    connect(add_, &QPushButton::clicked, this, gui::guarded([this](bool) { addName(); }));
    connect(remove_, &QPushButton::clicked, this, gui::guarded([this](bool) { removeSelectedName(); }));
    add_->setEnabled(false);
    remove_->setEnabled(false);
}

QStringList CPreferencesPlayerAdminListPropertyPage::splitNames(const std::string& stored) {
    return QString::fromStdString(stored).split(kSeparator, Qt::SkipEmptyParts);
}

std::string CPreferencesPlayerAdminListPropertyPage::joinNames(const QStringList& names) {
    std::string joined;
    for (const QString& name : names)
        joined += name.toStdString() + '&';
    return joined;
}

QStringList CPreferencesPlayerAdminListPropertyPage::names() const {
    QStringList result;
    for (int i = 0; i < list_->count(); ++i)
        result << list_->item(i)->text();
    return result;
}

void CPreferencesPlayerAdminListPropertyPage::store(core::ManagerSettings& settings) const {
    settings.defaultPlayerAdminList = joinNames(names());
}

// Sorted without regard to case, as a sorted list box sorts; an equal name goes after those already there.
void CPreferencesPlayerAdminListPropertyPage::insertSorted(const QString& name) {
    int row = 0;
    while (row < list_->count() && QString::compare(list_->item(row)->text(), name, Qt::CaseInsensitive) <= 0)
        ++row;
    list_->insertItem(row, name);
}

void CPreferencesPlayerAdminListPropertyPage::addName() {
    const QString name = field_->text();
    if (name.isEmpty() || name.contains(kSeparator))
        return;
    insertSorted(name);
    field_->clear();
    updateButtons();
}

void CPreferencesPlayerAdminListPropertyPage::removeSelectedName() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.front();
    const QString question =
        QStringLiteral("Are you sure you want to remove \"%1\" from your default list of Player Administrators?")
            .arg(item->text());
    if (!prompter_.askYesNo(this, question, QStringLiteral("Remove Player Admin")))
        return;
    delete list_->takeItem(list_->row(item));
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
    remove_->setEnabled(false);
}

void CPreferencesPlayerAdminListPropertyPage::updateButtons() {
    const QString text = field_->text();
    const bool ampersand = text.contains(kSeparator);
    add_->setEnabled(!text.isEmpty() && !ampersand);
    hint_->setVisible(ampersand);
    remove_->setEnabled(!list_->selectedItems().isEmpty());
}

// Return in the name field adds the name instead of closing the sheet.
bool CPreferencesPlayerAdminListPropertyPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (add_->isEnabled())
                addName();
            return true;
        }
    }
    return CPreferencesPage::eventFilter(watched, event);
}

} // namespace kv::manager::ui
