#include "manager/ui/remote/CRemoteServerConfigureAutoRestartDlg.h"

#include "gui/SlotGuard.h"
#include "manager/ui/remote/RemoteControlTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CRemoteServerConfigureAutoRestartDlg::CRemoteServerConfigureAutoRestartDlg(const std::string& current,
                                                                           std::function<void()> help, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Configure Remote Server Automatic Restart"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    times_ = new QComboBox(this);
    times_->setObjectName(QStringLiteral("times"));
    times_->setMaxVisibleItems(16);
    times_->setPlaceholderText(QStringLiteral("Choose a time"));
    for (const std::string& entry : remote_texts::restartEntries())
        times_->addItem(QString::fromStdString(entry));
    times_->setCurrentIndex(remote_texts::restartEntryForValue(current));
    form->addRow(QStringLiteral("Restart the server every day at:"), times_);
    layout->addLayout(form);

    auto* row = new QHBoxLayout;
    row->addStretch();
    const struct {
        const char* name;
        const char* text;
    } pushes[] = {{"set", "Set"}, {"cancel", "Cancel"}, {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.text), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    button("set")->setDefault(true);
    layout->addLayout(row);

    auto update = [this] { button("set")->setEnabled(times_->currentIndex() >= 0); };
    connect(times_, &QComboBox::currentIndexChanged, this, gui::guarded([update](int) { update(); }));
    connect(button("set"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (!chosenValue().empty())
                    accept();
            }));
    connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([help = std::move(help)](bool) {
                if (help)
                    help();
            }));
    update();
}

std::string CRemoteServerConfigureAutoRestartDlg::chosenValue() const {
    return remote_texts::restartValueForEntry(times_->currentIndex());
}

QPushButton* CRemoteServerConfigureAutoRestartDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

} // namespace kv::manager::ui
