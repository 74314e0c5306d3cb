#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// Asks for the name of a new anti-cheat option file: letters and digits only. OK stays disabled while the field is
// empty or holds anything else; a name that turns invalid is explained once.
class CPunkbusterCreateNewConfigurationDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPunkbusterCreateNewConfigurationDlg(gui::Prompter& prompter, QWidget* parent = nullptr);

    // The typed name followed by ".cfg".
    std::string fileName() const;

    QLineEdit* nameField() const { return name_; }
    QPushButton* okButton() const { return ok_; }

private:
    void check();

    gui::Prompter& prompter_;
    QLineEdit* name_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool invalid_ = false;
};

} // namespace kv::manager::ui
