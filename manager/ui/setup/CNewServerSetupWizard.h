#pragma once

#include "manager/ui/setup/WizardState.h"

#include <QWizard>

namespace kv::gui {
class DesktopServices;
}

namespace kv::manager::ui {

// "Create New Server Type Wizard": the pages of one kind over a prepared setup; Finish saves it.
class CNewServerSetupWizard : public QWizard {
    Q_OBJECT
public:
    CNewServerSetupWizard(WizardState& state, gui::DesktopServices& desktop, QWidget* parent = nullptr);

    WizardState& state() const { return state_; }
    // Opens the help section of the page shown.
    void showHelp();

private:
    WizardState& state_;
    gui::DesktopServices& desktop_;
};

} // namespace kv::manager::ui
