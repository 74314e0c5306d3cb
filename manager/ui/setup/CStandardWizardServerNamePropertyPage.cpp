#include "manager/ui/setup/CStandardWizardServerNamePropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteServerList.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

CStandardWizardServerNamePropertyPage::CStandardWizardServerNamePropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Server Name"), QStringLiteral("StandardWizardServerNameHelp"), parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("The server name is what players see in the game's server list."), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    name_ = new QComboBox(this);
    name_->setObjectName(QStringLiteral("serverName"));
    name_->setEditable(true);
    name_->setInsertPolicy(QComboBox::NoInsert);
    form->addRow(QStringLiteral("Server Name:"), name_);
    layout->addLayout(form);
    layout->addStretch();
}

void CStandardWizardServerNamePropertyPage::fill() {
    name_->clear();
    for (const remote::RemoteServerEntry& entry : remote::readRemoteServerList(state_.context.workingFolder))
        if (!entry.serverName.empty() && name_->findText(QString::fromStdString(entry.serverName)) < 0)
            name_->addItem(QString::fromStdString(entry.serverName));
    name_->setEditText(QString::fromStdString(state_.setup.m_csServerName));
}

bool CStandardWizardServerNamePropertyPage::take() {
    state_.setup.m_csServerName = oneLine(name_->currentText().toStdString());
    return true;
}

} // namespace kv::manager::ui
