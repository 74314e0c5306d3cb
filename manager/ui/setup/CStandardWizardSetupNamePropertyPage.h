#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QLineEdit;
class QPlainTextEdit;

namespace kv::manager::ui {

// The setup's name (proposed from its settings when empty, checked as a file name) and its free description.
class CStandardWizardSetupNamePropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardSetupNamePropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

// Refuses a name that cannot be a new setup's, with the designed message; true when the name may be used.
bool checkNewSetupName(WizardState& state, const std::string& name, QWidget* parent);

} // namespace kv::manager::ui
