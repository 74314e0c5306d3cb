#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QComboBox;

namespace kv::manager::ui {

// The name that server browsers show; offers the names of the remote servers that the manager knows.
class CStandardWizardServerNamePropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardServerNamePropertyPage(WizardState& state, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    QComboBox* name_ = nullptr;
};

} // namespace kv::manager::ui
