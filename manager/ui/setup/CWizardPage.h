#pragma once

#include "manager/ui/setup/WizardState.h"

#include <QWizardPage>

namespace kv::manager::ui {

// A page of the creation wizards: fills its controls from the setup when it is shown, and on Next checks them and
// writes the setup, or says why not and stays. Help opens the section of the wizards' help page named helpTopic().
class CWizardPage : public QWizardPage {
    Q_OBJECT
public:
    CWizardPage(WizardState& state, const QString& title, const QString& helpTopic, QWidget* parent = nullptr);

    const QString& helpTopic() const { return helpTopic_; }

    void initializePage() final;
    bool validatePage() final;

protected:
    virtual void fill() = 0;
    virtual bool take() = 0;
    // Asks or tells through the prompter, over this page.
    bool ask(const char* text, const char* caption);
    void tell(const char* text, const char* caption);
    void inform(const char* text, const char* caption);

    WizardState& state_;

private:
    QString helpTopic_;
};

} // namespace kv::manager::ui
