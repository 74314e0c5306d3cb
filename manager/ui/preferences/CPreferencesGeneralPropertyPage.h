#pragma once

#include "manager/ui/preferences/CPreferencesPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kv::manager::ui {

// "Options": defaults of new setups, the location of the game server program, and what the wizards offer and warn.
class CPreferencesGeneralPropertyPage : public CPreferencesPage {
    Q_OBJECT
public:
    CPreferencesGeneralPropertyPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                    gui::DesktopServices& desktop, QWidget* parent = nullptr);

    void store(core::ManagerSettings& settings) const override;

    // The buttons' actions.
    void browseProgramLocation();
    void defaultProgramLocation();

    QLineEdit* field(const char* objectName) const;
    QCheckBox* check(const char* objectName) const;
    QPushButton* button(const char* objectName) const;
};

} // namespace kv::manager::ui
