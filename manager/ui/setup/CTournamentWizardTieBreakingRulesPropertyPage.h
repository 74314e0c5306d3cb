#pragma once

#include "manager/ui/setup/CWizardPage.h"

#include <array>

class QRadioButton;

namespace kv::manager::ui {

// How a tied game-round is decided: not at all, by sudden death, or by score and then sudden death.
class CTournamentWizardTieBreakingRulesPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CTournamentWizardTieBreakingRulesPropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    std::array<QRadioButton*, 3> choices_{};
};

} // namespace kv::manager::ui
