#pragma once

#include <QDialog>

class QPushButton;

namespace kv::manager::ui {

// The anti-cheat tools of a remote host: the chosen button closes the dialog and names what comes next.
class CPunkBusterOptionsDlg : public QDialog {
    Q_OBJECT
public:
    enum class Choice { None, Screenshots, Logs, Configuration };

    explicit CPunkBusterOptionsDlg(QWidget* parent = nullptr);

    Choice choice() const { return choice_; }
    // "screenshots", "logs", "configuration" or "cancel".
    QPushButton* button(const char* objectName) const;

private:
    Choice choice_ = Choice::None;
};

} // namespace kv::manager::ui
