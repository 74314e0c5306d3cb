#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace kv::agent::ui {

// "Set Password": the new administrator password for remote logins.
class CConfigurePasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit CConfigurePasswordDlg(QWidget* parent = nullptr);

    std::string password() const;
    QLineEdit* passwordField() const { return field_; }

private:
    QLineEdit* field_ = nullptr;
};

} // namespace kv::agent::ui
