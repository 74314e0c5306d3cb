#include "manager/ui/setup/CWizardPage.h"

#include "gui/Prompter.h"

namespace kv::manager::ui {

CWizardPage::CWizardPage(WizardState& state, const QString& title, const QString& helpTopic, QWidget* parent)
    : QWizardPage(parent), state_(state), helpTopic_(helpTopic) {
    setTitle(title);
    setObjectName(helpTopic);
}

// Qt calls these two from its event loop: nothing may be thrown past them.
void CWizardPage::initializePage() {
    try {
        fill();
    } catch (const std::exception& e) {
        qWarning("kv: a wizard page could not be filled: %s", e.what());
    }
}

bool CWizardPage::validatePage() {
    try {
        return take();
    } catch (const std::exception& e) {
        qWarning("kv: a wizard page could not be read: %s", e.what());
        return false;
    }
}

bool CWizardPage::ask(const char* text, const char* caption) {
    return state_.prompter.askYesNo(this, QString::fromUtf8(text), QString::fromUtf8(caption));
}

void CWizardPage::tell(const char* text, const char* caption) {
    state_.prompter.showError(this, QString::fromUtf8(text), QString::fromUtf8(caption));
}

void CWizardPage::inform(const char* text, const char* caption) {
    state_.prompter.showInformation(this, QString::fromUtf8(text), QString::fromUtf8(caption));
}

} // namespace kv::manager::ui
