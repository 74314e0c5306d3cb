#include "manager/ui/setup/CStandardWizardAdminPropertyPage.h"

#include "manager/ui/setup/WizardLists.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

CStandardWizardAdminPropertyPage::CStandardWizardAdminPropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Admins"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardAdminHelp")
                                                    : QStringLiteral("TournamentWizardAdminHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Administrators log in to the running server with this password."), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("adminPassword"));
    form->addRow(QStringLiteral("Admin Password:"), password_);
    admins_ = new QComboBox(this);
    admins_->setObjectName(QStringLiteral("maxAdmins"));
    fillList(*admins_, numberEntries(1, 6));
    form->addRow(QStringLiteral("Admins Per Server:"), admins_);
    layout->addLayout(form);
    layout->addStretch();
}

void CStandardWizardAdminPropertyPage::fill() {
    password_->setText(QString::fromStdString(state_.setup.m_csAdminPassword));
    selectValue(*admins_, state_.setup.m_iMaxAdmins);
}

bool CStandardWizardAdminPropertyPage::take() {
    const std::string password = trimRight(oneLine(password_->text().toStdString()));
    switch (judgeAdminPassword(password)) {
    case AdminPasswordVerdict::Empty:
        tell("You must have an administrator password assigned to this server setup.",
             "Administrator Password Not Entered");
        return false;
    case AdminPasswordVerdict::ForbiddenSymbol:
        tell("You may not use the \"#\" or the \"?\" symbols in your password.\n\nYou can use the \"-\", \"_\", "
             "\"$\", \"!\", \"%\", \"%\", \"@\", and \"+\" symbols in your password to make them more secure.",
             "Invalid Password Symbol.");
        return false;
    case AdminPasswordVerdict::Weak:
        if (!ask("The administrator password you entered is not very secure.\n\nYou should use at least four "
                 "characters and include at least one symbol such as \"-\", \"_\", \"$\", \"!\", \"%\", \"@\", or "
                 "\"+\" .\n\nWould you like to use this password anyway?",
                 "Administrator Password Not Entered"))
            return false;
        break;
    case AdminPasswordVerdict::Good:
        break;
    }
    state_.setup.m_csAdminPassword = password;
    state_.setup.m_iMaxAdmins = chosenValue(*admins_);
    return true;
}

} // namespace kv::manager::ui
