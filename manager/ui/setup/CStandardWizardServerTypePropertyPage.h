#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv::core {
class AddressLookup;
}

namespace kv::manager::ui {

// Internet or LAN, and the address to bind; "Auto Determine IP" finds it (the Internet one asynchronously).
class CStandardWizardServerTypePropertyPage : public CWizardPage {
    Q_OBJECT
public:
    CStandardWizardServerTypePropertyPage(WizardState& state, QWidget* parent = nullptr);

    void autoDetermine();

signals:
    // The address field has its detected value and every question about it was asked.
    void detectionDone();

protected:
    void fill() override;
    bool take() override;

private:
    void detected(const std::string& address);

    QRadioButton* internet_ = nullptr;
    QRadioButton* lan_ = nullptr;
    QLineEdit* address_ = nullptr;
    QPushButton* detect_ = nullptr;
    core::AddressLookup* lookup_ = nullptr;
    std::string local_;
};

} // namespace kv::manager::ui
