#include "manager/ui/setup/details/CServerDetailsPlayerAdminPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kv::manager::ui {

namespace {

const QString kSeparator = QStringLiteral("&");

QPushButton* button(QWidget* parent, const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

CServerDetailsPlayerAdminPropertyPage::CServerDetailsPlayerAdminPropertyPage(setups::ServerSetup& setup,
                                                                             gui::Prompter& prompter,
                                                                             core::ManagerContext& context,
                                                                             QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("playeradmins"), parent), context_(context) {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("playerAdmins"));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("playerAdminName"));
    CleanTextValidator::attach(field_, kSeparator);
    add_ = button(this, "Add", "addPlayerAdmin");
    remove_ = button(this, "Remove", "removePlayerAdmin");
    removeAll_ = button(this, "Remove All", "removeAllPlayerAdmins");
    QPushButton* copy = button(this, "Copy To Default List", "copyToDefault");
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Players with administrator rights on this server:"), this), 0, 0, 1, 2);
    grid->addWidget(list_, 1, 0, 4, 1);
    grid->addWidget(remove_, 1, 1);
    grid->addWidget(removeAll_, 2, 1);
    grid->addWidget(copy, 3, 1);
    grid->addWidget(field_, 5, 0);
    grid->addWidget(add_, 5, 1);
    grid->setRowStretch(4, 1);

    bindings_.custom(
        [this, &setup] {
            list_->clear();
            for (std::string_view name : setup.playerAdmins())
                list_->addItem(fieldText(std::string(name)));
            updateButtons();
        },
        [this, &setup] { setup.m_csPlayerAdminList = fieldBytes(names().join(kSeparator)); },
        [this] { return QVariant(names()); });

    connect(field_, &QLineEdit::textChanged, this, gui::guarded([this](const QString&) { updateButtons(); }));
    connect(field_, &QLineEdit::returnPressed, this, gui::guarded([this] { addName(); }));
    connect(list_, &QListWidget::currentRowChanged, this, gui::guarded([this](int) { updateButtons(); }));
    connect(add_, &QPushButton::clicked, this, gui::guarded([this](bool) { addName(); }));
    connect(remove_, &QPushButton::clicked, this, gui::guarded([this](bool) { removeSelected(); }));
    connect(removeAll_, &QPushButton::clicked, this, gui::guarded([this](bool) { removeAll(); }));
    connect(copy, &QPushButton::clicked, this, gui::guarded([this](bool) { copyToDefault(); }));
    updateButtons();
}

QStringList CServerDetailsPlayerAdminPropertyPage::names() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i)
        out << list_->item(i)->text();
    return out;
}

void CServerDetailsPlayerAdminPropertyPage::addName() {
    const QString name = CleanTextValidator::cleaned(field_->text(), kSeparator).trimmed();
    if (name.isEmpty())
        return;
    list_->addItem(name);
    field_->clear();
    updateButtons();
}

void CServerDetailsPlayerAdminPropertyPage::removeSelected() {
    QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    if (!prompter_.askYesNo(
            this,
            QStringLiteral("Are you sure you want to remove \"%1\" from the list of Player Admins?").arg(item->text()),
            QStringLiteral("Remove Player Admin")))
        return;
    delete list_->takeItem(list_->row(item));
    updateButtons();
}

void CServerDetailsPlayerAdminPropertyPage::removeAll() {
    if (list_->count() == 0 ||
        !prompter_.askYesNo(this,
                            QStringLiteral("Are you sure you want to remove all of the Player Administrators from "
                                           "this server setup?"),
                            QStringLiteral("Remove All Player Administrators")))
        return;
    list_->clear();
    updateButtons();
}

void CServerDetailsPlayerAdminPropertyPage::copyToDefault() {
    core::ManagerSettings settings = context_.settings;
    const QStringList existing = fieldText(settings.defaultPlayerAdminList).split(kSeparator, Qt::SkipEmptyParts);
    QStringList added;
    for (const QString& name : names())
        if (!existing.contains(name) && !added.contains(name))
            added << name;
    if (added.isEmpty()) {
        prompter_.showInformation(this,
                                  QStringLiteral("There were no new entries to add to the default Player Admin list."),
                                  QStringLiteral("No New Player Admins Added to Default Player Admin List"));
        return;
    }
    // The preferences keep every name followed by "&"; a hand-edited list may lack the last one.
    if (!settings.defaultPlayerAdminList.empty() && settings.defaultPlayerAdminList.back() != '&')
        settings.defaultPlayerAdminList += '&';
    for (const QString& name : added)
        settings.defaultPlayerAdminList += fieldBytes(name) + '&';
    std::string error;
    if (!core::writeManagerSettings(context_.settingsFile, settings, &error)) {
        prompter_.showError(this,
                            QStringLiteral("The default player admin list could not be saved in the settings file "
                                           "\"%1\".\n\n%2")
                                .arg(fieldText(context_.settingsFile), fieldText(error)),
                            QStringLiteral("Player Admins Not Added to Default Player Admin List"));
        return;
    }
    context_.settings = settings;
    prompter_.showInformation(this,
                              QStringLiteral("The following player admins were added to the default player admin "
                                             "list:\r\n\r\n") +
                                  added.join(QStringLiteral("\r\n")),
                              QStringLiteral("Player Admins Added to Default Player Admin List"));
}

void CServerDetailsPlayerAdminPropertyPage::updateButtons() {
    add_->setEnabled(!field_->text().trimmed().isEmpty());
    remove_->setEnabled(list_->currentRow() >= 0);
    removeAll_->setEnabled(list_->count() > 0);
}

} // namespace kv::manager::ui
