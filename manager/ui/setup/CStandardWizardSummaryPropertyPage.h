#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QPlainTextEdit;

namespace kv::manager::ui {

// The setup's description as the library will show it; Finish saves the setup.
class CStandardWizardSummaryPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardSummaryPropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace kv::manager::ui
