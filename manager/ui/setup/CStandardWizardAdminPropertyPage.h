#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QComboBox;
class QLineEdit;

namespace kv::manager::ui {

// The administrator password, checked for strength, and the number of administrators; both wizards.
class CStandardWizardAdminPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardAdminPropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QLineEdit* password_ = nullptr;
    QComboBox* admins_ = nullptr;
};

} // namespace kv::manager::ui
