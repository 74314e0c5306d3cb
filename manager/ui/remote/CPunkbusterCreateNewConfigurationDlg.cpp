#include "manager/ui/remote/CPunkbusterCreateNewConfigurationDlg.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/remote/AntiCheatFiles.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CPunkbusterCreateNewConfigurationDlg::CPunkbusterCreateNewConfigurationDlg(gui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("newAntiCheatConfiguration"));
    setWindowTitle(QStringLiteral("Create New PunkBuster(tm) Configuration"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("name"));
    name_->setMaxLength(static_cast<int>(remote::kMaxAntiCheatName - 4));
    name_->setMinimumWidth(240);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Configuration Name:"), name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, gui::guarded([this] {
                if (remote::checkOptionName(name_->text().toStdString()) == remote::OptionNameCheck::Valid)
                    accept();
            }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, gui::guarded([this](const QString&) { check(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::string CPunkbusterCreateNewConfigurationDlg::fileName() const {
    return name_->text().toStdString() + ".cfg";
}

void CPunkbusterCreateNewConfigurationDlg::check() {
    const remote::OptionNameCheck verdict = remote::checkOptionName(name_->text().toStdString());
    ok_->setEnabled(verdict == remote::OptionNameCheck::Valid);
    const bool invalid = verdict == remote::OptionNameCheck::Invalid;
    // Said when the name turns invalid, not again for every further key while it stays so.
    if (invalid && !invalid_)
        prompter_.showError(this,
                            QStringLiteral("You may only use letters and numbers in your PunkBuster configuration "
                                           "file names."),
                            QStringLiteral("Invalid PunkBuster Configuration File Name"));
    invalid_ = invalid;
}

} // namespace kv::manager::ui
