#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QCheckBox;

namespace kv::manager::ui {

// Whether the mercy rule ends a one-sided match early.
class CTournamentWizardMercyRulePropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CTournamentWizardMercyRulePropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QCheckBox* mercy_ = nullptr;
};

} // namespace kv::manager::ui
