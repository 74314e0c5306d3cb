#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QComboBox;
class QLineEdit;

namespace kv::manager::ui {

// The player password and team size, for both wizards; the standard one also derives the player limit.
class CStandardWizardPlayersPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardPlayersPropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QLineEdit* password_ = nullptr;
    QComboBox* teamSize_ = nullptr;
};

} // namespace kv::manager::ui
