#include "agent/ui/CConfigurePasswordDlg.h"

#include "agent/ui/ConfigureHelp.h"
#include "agent/ui/ConfigureValues.h"

#include "agent/AdminPassword.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::agent::ui {

CConfigurePasswordDlg::CConfigurePasswordDlg(gui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Set Password"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Enter the new password used by remote KVSM users to remote control this "
                                           "server using the field below."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("password"));
    field_->setEchoMode(QLineEdit::Password);
    field_->setMaxLength(static_cast<int>(configure_values::kMaxKeyLine));
    configure_help::attach(field_, configure_help::password(false));
    layout->addWidget(field_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, gui::guarded([this] { confirm(); }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

std::string CConfigurePasswordDlg::password() const {
    return field_->text().toStdString();
}

bool CConfigurePasswordDlg::confirm() {
    if (password().size() > admin_password::kLongest) {
        prompter_.showError(this,
                            QStringLiteral("The password you have entered is too long.  Remote KVSM users can only "
                                           "log in with a password of up to %1 characters.  Please enter a shorter "
                                           "password.")
                                .arg(admin_password::kLongest),
                            QStringLiteral("Password Too Long"));
        return false;
    }
    accept();
    return true;
}

} // namespace kv::agent::ui
