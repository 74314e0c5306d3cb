#pragma once

#include "manager/ui/setup/CWizardPage.h"

#include <array>

class QCheckBox;
class QLineEdit;

namespace kv::manager::ui {

// The two teams' names and join passwords, and whether sides are assigned at random.
class CTournamentWizardTeamInfoPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CTournamentWizardTeamInfoPropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    std::array<QLineEdit*, 2> names_{};
    std::array<QLineEdit*, 2> passwords_{};
    QCheckBox* random_ = nullptr;
};

} // namespace kv::manager::ui
