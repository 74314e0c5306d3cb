#pragma once

#include "manager/ui/setup/WizardRules.h"

#include <QDialog>

namespace kv::manager::ui {

// Asks whether the new setup is a tournament or a standard one; accepted with choice() set, rejected on Cancel.
class CSelectNewServerTypeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSelectNewServerTypeDlg(QWidget* parent = nullptr);

    SetupKind choice() const { return choice_; }
    void choose(SetupKind kind);

private:
    SetupKind choice_ = SetupKind::Standard;
};

} // namespace kv::manager::ui
