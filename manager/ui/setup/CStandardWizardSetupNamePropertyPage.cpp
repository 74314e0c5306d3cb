#include "manager/ui/setup/CStandardWizardSetupNamePropertyPage.h"

#include "gui/Prompter.h"
#include "manager/core/ManagerContext.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

CStandardWizardSetupNamePropertyPage::CStandardWizardSetupNamePropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Setup Name"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardSetupNameHelp")
                                                    : QStringLiteral("TournamentWizardSetupNameHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("setupName"));
    form->addRow(QStringLiteral("Server Setup Name:"), name_);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Description:"), this));
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("setupDescription"));
    layout->addWidget(description_, 1);
}

void CStandardWizardSetupNamePropertyPage::fill() {
    if (name_->text().isEmpty())
        name_->setText(QString::fromStdString(proposeSetupName(
            state_.setup, state_.kind, state_.context.settings.includeServerNameInSetupNames != 0)));
    description_->setPlainText(QString::fromStdString(state_.setup.m_csSetupDescription).remove(QLatin1Char('\r')));
}

bool CStandardWizardSetupNamePropertyPage::take() {
    const std::string name = oneLine(name_->text().toStdString());
    if (!checkNewSetupName(state_, name, this)) {
        name_->setFocus();
        return false;
    }
    state_.setup.m_csName = name;
    std::string text;
    for (char c : cleanLines(description_->toPlainText().toStdString())) {
        if (c == '\n')
            text.push_back('\r');
        text.push_back(c);
    }
    state_.setup.m_csSetupDescription = text;
    return true;
}

bool checkNewSetupName(WizardState& state, const std::string& name, QWidget* parent) {
    const QString invalid = QStringLiteral("Invalid Server Setup");
    if (name.empty()) {
        state.prompter.showError(parent, QStringLiteral("You must enter a name for this server setup."), invalid);
        return false;
    }
    if (setupNameRefused(name)) {
        state.prompter.showError(
            parent,
            QStringLiteral("You may not include periods (\".\"), forward slashes (\"/\"), backslashes (\"\\\"), commas "
                           "(\",\"), or colons (\":\") in a server setup name.  Please change the name."),
            invalid);
        return false;
    }
    if (setupNameInUse(state.context.workingFolder, name)) {
        state.prompter.showError(
            parent,
            QStringLiteral("The name you selected for this server setup is already in use.  Please enter another name."),
            QStringLiteral("Server Setup Name Already In Use"));
        return false;
    }
    return true;
}

} // namespace kv::manager::ui
