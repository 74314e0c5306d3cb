#pragma once

#include "manager/ui/setup/CWizardPage.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;

namespace kv::manager::ui {

// The map of the setup: one map or (standard setups only) a rotation of up to 20. Both wizards use it; the
// tournament one offers one map of those valid for tournaments.
class CStandardWizardMapSelectionPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    static constexpr int kMaxRotation = 20;

    CStandardWizardMapSelectionPropertyPage(WizardState& state, QWidget* parent = nullptr);

    QListWidget* maps() const { return maps_; }
    QListWidget* rotation() const { return rotation_; }
    QRadioButton* rotateChoice() const { return rotate_; }
    void addToRotation();
    void removeFromRotation();

protected:
    void fill() override;
    bool take() override;

private:
    void showMap();
    void updateMode();

    QRadioButton* single_ = nullptr;
    QRadioButton* rotate_ = nullptr;
    QListWidget* maps_ = nullptr;
    QListWidget* rotation_ = nullptr;
    QComboBox* matches_ = nullptr;
    QWidget* rotationBox_ = nullptr;
    QLabel* picture_ = nullptr;
    QPlainTextEdit* about_ = nullptr;
};

} // namespace kv::manager::ui
