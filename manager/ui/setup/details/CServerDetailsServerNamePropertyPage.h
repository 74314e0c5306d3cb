#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace kv::manager::ui {

// Server setup name and general options: the setup's name and description, the server's names, the administrator,
// ports, region, logging, and whether the server is for the Internet or a LAN.
class CServerDetailsServerNamePropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    // `nameInUse` tells whether another setup of the library already carries a name.
    CServerDetailsServerNamePropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                         std::function<bool(const std::string&)> nameInUse, QWidget* parent = nullptr);

    // The setup name as the setup-name rule of the wizards has it, and no "#" or "?" in the password.
    bool check() override;

    // When the password field is left: refuses "#" and "?", and notes a weak password.
    void checkAdminPassword();

    QLineEdit* nameField() const { return name_; }
    QLineEdit* passwordField() const { return password_; }
    QRadioButton* internetChoice() const { return internet_; }
    QRadioButton* lanChoice() const { return lan_; }

private:
    bool passwordHasRefusedSymbol();

    std::function<bool(const std::string&)> nameInUse_;
    QLineEdit* name_ = nullptr;
    QLineEdit* password_ = nullptr;
    QRadioButton* internet_ = nullptr;
    QRadioButton* lan_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

} // namespace kv::manager::ui
