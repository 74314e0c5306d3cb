#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace kv::gui {
class Prompter;
}

namespace kv::agent::ui {

// "Set Password": the new administrator password for remote logins. OK refuses, with a message, a password longer
// than a remote login carries: it could never log in.
class CConfigurePasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit CConfigurePasswordDlg(gui::Prompter& prompter, QWidget* parent = nullptr);

    std::string password() const;
    QLineEdit* passwordField() const { return field_; }
    // OK: false (with the message, the dialog staying open) for a password that is too long.
    bool confirm();

private:
    gui::Prompter& prompter_;
    QLineEdit* field_ = nullptr;
};

} // namespace kv::agent::ui
