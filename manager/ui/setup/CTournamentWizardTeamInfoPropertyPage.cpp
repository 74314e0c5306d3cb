#include "manager/ui/setup/CTournamentWizardTeamInfoPropertyPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

CTournamentWizardTeamInfoPropertyPage::CTournamentWizardTeamInfoPropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Team Names and Side Selection"),
                  QStringLiteral("TournamentWizardTeamInfoHelp"), parent) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const char* const labels[2][2] = {{"First Team Name:", "First Team Password:"},
                                      {"Second Team Name:", "Second Team Password:"}};
    for (int i = 0; i < 2; ++i) {
        names_[i] = new QLineEdit(this);
        names_[i]->setObjectName(QStringLiteral("teamName%1").arg(i));
        passwords_[i] = new QLineEdit(this);
        passwords_[i]->setObjectName(QStringLiteral("teamPassword%1").arg(i));
        form->addRow(QString::fromUtf8(labels[i][0]), names_[i]);
        form->addRow(QString::fromUtf8(labels[i][1]), passwords_[i]);
    }
    layout->addLayout(form);
    random_ = new QCheckBox(QStringLiteral("Assign the teams to their sides at random"), this);
    random_->setObjectName(QStringLiteral("randomSides"));
    layout->addWidget(random_);
    layout->addStretch();
}

void CTournamentWizardTeamInfoPropertyPage::fill() {
    for (std::size_t i = 0; i < 2; ++i) {
        names_[i]->setText(QString::fromStdString(state_.setup.m_acsTournamentTeamName[i]));
        passwords_[i]->setText(QString::fromStdString(state_.setup.m_acsTournamentTeamPassword[i]));
    }
    random_->setChecked(state_.setup.m_fTournamentEnableRandomTeamAssignments != 0);
}

bool CTournamentWizardTeamInfoPropertyPage::take() {
    for (std::size_t i = 0; i < 2; ++i) {
        state_.setup.m_acsTournamentTeamName[i] = oneLine(names_[i]->text().toStdString());
        state_.setup.m_acsTournamentTeamPassword[i] = oneLine(passwords_[i]->text().toStdString());
    }
    state_.setup.m_fTournamentEnableRandomTeamAssignments = random_->isChecked() ? 1 : 0;
    return true;
}

} // namespace kv::manager::ui
