#include "manager/ui/setup/CStandardWizardSummaryPropertyPage.h"

#include "manager/ui/setup/CStandardWizardSetupNamePropertyPage.h"

#include "gui/Prompter.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/SetupDescription.h"
#include "manager/setups/SetupStore.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

CStandardWizardSummaryPropertyPage::CStandardWizardSummaryPropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Ready To Create Server Setup"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardSummaryHelp")
                                                    : QStringLiteral("TournamentWizardSummaryHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Press Finish to create this server setup."), this));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("summary"));
    text_->setReadOnly(true);
    layout->addWidget(text_, 1);
}

void CStandardWizardSummaryPropertyPage::fill() {
    const std::string text = setups::describeSetup(state_.setup, state_.maps, false);
    text_->setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).remove(QLatin1Char('\r')));
}

bool CStandardWizardSummaryPropertyPage::take() {
    // Another window may have saved a setup of this name since the name page.
    if (!checkNewSetupName(state_, state_.setup.m_csName, this))
        return false;
    std::string error;
    if (!setups::SetupStore(state_.context.workingFolder).save(state_.setup, &error)) {
        state_.prompter.showError(this,
                                  QStringLiteral("The server setup could not be saved.\n\n%1")
                                      .arg(QString::fromStdString(error)),
                                  QStringLiteral("Server Setup Not Saved"));
        return false;
    }
    return true;
}

} // namespace kv::manager::ui
