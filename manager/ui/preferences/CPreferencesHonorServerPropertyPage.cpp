#include "manager/ui/preferences/CPreferencesHonorServerPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/CIpAddressField.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "gui/SlotGuard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CPreferencesHonorServerPropertyPage::CPreferencesHonorServerPropertyPage(const core::ManagerContext& context,
                                                                         gui::Prompter& prompter,
                                                                         gui::DesktopServices& desktop, QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kHonorServer, parent) {
    const core::ManagerSettings& settings = context.settings;
    userName_ = new QLineEdit(QString::fromStdString(settings.authServerUserName), this);
    userName_->setObjectName(QStringLiteral("authServerUserName"));
    userName_->setMaxLength(255);
    password_ = new QLineEdit(QString::fromStdString(settings.authServerPassword), this);
    password_->setObjectName(QStringLiteral("authServerPassword"));
    password_->setMaxLength(255);
    password_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    address_ = new CIpAddressField(this);
    address_->setObjectName(QStringLiteral("authServerIP"));
    address_->setAddressText(settings.authServerIP);

    auto* explanation = new QLabel(
        QStringLiteral("A game server uses an account on the game's honor server (the ranking service) to "
                       "authorise its players there. The account must first be registered with the game's maker; "
                       "enter the user name, password and IP address that the registration gives you. Every server "
                       "setup that you generate or run passes them to the game server. Leave the three fields blank "
                       "when your server is not registered."),
        this);
    explanation->setObjectName(QStringLiteral("explanation"));
    explanation->setWordWrap(true);
    learnMore_ = new QPushButton(QStringLiteral("Learn More"), this);
    learnMore_->setObjectName(QStringLiteral("learnMore"));
    learnMore_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Honor Server User Name:"), this), 0, 0);
    grid->addWidget(userName_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Honor Server Password:"), this), 1, 0);
    grid->addWidget(password_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Honor Server IP Address:"), this), 2, 0);
    grid->addWidget(address_, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(explanation);
    auto* more = new QHBoxLayout;
    more->addWidget(learnMore_);
    more->addStretch();
    layout->addLayout(more);
    layout->addStretch();

    connect(learnMore_, &QPushButton::clicked, this, gui::guarded([this](bool) { learnMore(); }));
}

void CPreferencesHonorServerPropertyPage::store(core::ManagerSettings& settings) const {
    settings.authServerUserName = userName_->text().toStdString();
    settings.authServerPassword = password_->text().toStdString();
    settings.authServerIP = address_->addressText();
}

void CPreferencesHonorServerPropertyPage::learnMore() {
    openHelp(help_topic::kAboutHonorServer);
}

} // namespace kv::manager::ui
