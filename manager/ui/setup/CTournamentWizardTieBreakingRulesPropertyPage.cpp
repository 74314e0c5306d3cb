#include "manager/ui/setup/CTournamentWizardTieBreakingRulesPropertyPage.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CTournamentWizardTieBreakingRulesPropertyPage::CTournamentWizardTieBreakingRulesPropertyPage(WizardState& state,
                                                                                             QWidget* parent)
    : CWizardPage(state, QStringLiteral("Tie-Breaking Rules"), QStringLiteral("TournamentWizardTieBreakingRulesHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    const char* const texts[3] = {"No tie-breaking: a tied game-round stays a tie",
                                  "Sudden death decides a tied game-round",
                                  "The score decides a tied game-round, then sudden death"};
    for (int i = 0; i < 3; ++i) {
        choices_[i] = new QRadioButton(QString::fromUtf8(texts[i]), this);
        choices_[i]->setObjectName(QStringLiteral("tieRule%1").arg(i));
        layout->addWidget(choices_[i]);
    }
    layout->addStretch();
}

void CTournamentWizardTieBreakingRulesPropertyPage::fill() {
    const setups::ServerSetup& s = state_.setup;
    const int choice = s.m_fTournamentTieSuddenDeath == 0 ? 0 : s.m_fTournamentTieScore == 0 ? 1 : 2;
    choices_[static_cast<std::size_t>(choice)]->setChecked(true);
}

bool CTournamentWizardTieBreakingRulesPropertyPage::take() {
    setups::ServerSetup& s = state_.setup;
    s.m_fTournamentTieScore = choices_[2]->isChecked() ? 1 : 0;
    s.m_fTournamentTieSuddenDeath = choices_[0]->isChecked() ? 0 : 1;
    return true;
}

} // namespace kv::manager::ui
