#include "manager/ui/setup/CTournamentWizardMercyRulePropertyPage.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace kv::manager::ui {

CTournamentWizardMercyRulePropertyPage::CTournamentWizardMercyRulePropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Mercy Rule"), QStringLiteral("TournamentWizardMercyRuleHelp"), parent) {
    auto* layout = new QVBoxLayout(this);
    mercy_ = new QCheckBox(QStringLiteral("Use the mercy rule"), this);
    mercy_->setObjectName(QStringLiteral("mercyRule"));
    layout->addWidget(mercy_);
    layout->addStretch();
}

void CTournamentWizardMercyRulePropertyPage::fill() {
    mercy_->setChecked(state_.setup.m_fTournamentMercyRule != 0);
}

bool CTournamentWizardMercyRulePropertyPage::take() {
    state_.setup.m_fTournamentMercyRule = mercy_->isChecked() ? 1 : 0;
    return true;
}

} // namespace kv::manager::ui
