#include "manager/ui/remote/CPunkbusterConfigManagementDlg.h"

#include "common/Text.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/AntiCheatFiles.h"
#include "manager/ui/remote/AntiCheatWidgets.h"
#include "manager/ui/remote/CPunkbusterCreateNewConfigurationDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace kv::manager::ui {

CPunkbusterConfigManagementDlg::CPunkbusterConfigManagementDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                                               remote::RemoteHost host, std::function<void()> help,
                                                               QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), host_(std::move(host)), help_(std::move(help)) {
    setObjectName(QStringLiteral("antiCheatConfigurations"));
    setWindowTitle(QStringLiteral("PunkBuster (tm) Server Available Configurations"));
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("configurations"));
    list_->setSortingEnabled(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumSize(220, 200);

    auto* column = new QVBoxLayout;
    const struct {
        const char* name;
        const char* label;
    } pushes[] = {{"new", "New Configuration"}, {"edit", "Edit Configuration"}, {"cancel", "Cancel"}, {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.label), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        column->addWidget(b);
    }
    column->addSpacing(12);
    standardOnly_ = new QRadioButton(QStringLiteral("Show Standard Only"), this);
    standardOnly_->setObjectName(QStringLiteral("standardOnly"));
    all_ = new QRadioButton(QStringLiteral("Show All"), this);
    all_->setObjectName(QStringLiteral("all"));
    all_->setChecked(true);
    column->addWidget(standardOnly_);
    column->addWidget(all_);
    column->addStretch();
    status_ = makeAntiCheatStatusLine(this);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(column);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(status_);
    resize(520, 300);

    connect(runner_, &remote::RemoteRunner::statusText, this,
            gui::guarded([this](const QString& t) { status_->setText(t); }));
    connect(list_, &QListWidget::itemSelectionChanged, this, gui::guarded([this] { updateButtons(); }));
    connect(list_, &QListWidget::itemDoubleClicked, this,
            gui::guarded([this](QListWidgetItem*) { editConfiguration(); }));
    connect(button("new"), &QPushButton::clicked, this, gui::guarded([this](bool) { newConfiguration(); }));
    connect(button("edit"), &QPushButton::clicked, this, gui::guarded([this](bool) { editConfiguration(); }));
    connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (help_)
                    help_();
            }));
    connect(standardOnly_, &QRadioButton::toggled, this,
            gui::guarded([this](bool checked) { showStandardOnly(checked); }));

    listConfigurations();
}

QPushButton* CPunkbusterConfigManagementDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void CPunkbusterConfigManagementDlg::listConfigurations() {
    busy_ = true;
    listed_.clear();
    fill();
    auto texts = std::make_shared<KvsmTextList>();
    const bool started = runner_->run(
        host_,
        [texts](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.retrievePunkbusterConfigFileList(object, texts.get());
        },
        [this, texts](int result) {
            if (!closed_)
                showConfigurationList(result ? *texts : std::vector<std::string>{});
        });
    if (!started)
        showConfigurationList({});
}

void CPunkbusterConfigManagementDlg::showConfigurationList(const std::vector<std::string>& texts) {
    listed_ = remote::parseOptionFileList(texts);
    busy_ = false;
    fill();
    // The standard names are always there, so the list is never empty.
    status_->setText(list_->count() > 0 ? QStringLiteral("Available PunkBuster configurations index retrieved")
                                        : QStringLiteral("No PunkBuster configuration files found"));
}

void CPunkbusterConfigManagementDlg::showStandardOnly(bool standardOnly) {
    if (standardOnly_->isChecked() != standardOnly)
        (standardOnly ? standardOnly_ : all_)->setChecked(true);
    fill();
}

void CPunkbusterConfigManagementDlg::fill() {
    list_->clear();
    list_->addItem(fromUtf8(std::string(remote::kGameOptionFile)));
    list_->addItem(fromUtf8(std::string(remote::kServerOptionFile)));
    if (!standardOnly_->isChecked())
        for (const std::string& name : listed_)
            list_->addItem(fromUtf8(name));
    updateButtons();
}

void CPunkbusterConfigManagementDlg::updateButtons() {
    list_->setEnabled(!busy_);
    button("new")->setEnabled(!busy_);
    button("edit")->setEnabled(!busy_ && !list_->selectedItems().isEmpty());
}

void CPunkbusterConfigManagementDlg::editConfiguration() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (busy_ || selected.isEmpty())
        return;
    chosen_ = selected.front()->text().toStdString();
    chosenIsNew_ = false;
    accept();
}

void CPunkbusterConfigManagementDlg::newConfiguration() {
    if (busy_)
        return;
    CPunkbusterCreateNewConfigurationDlg ask(prompter_, this);
    if (!prompter_.runDialog(ask))
        return;
    chosen_ = ask.fileName();
    // A "new" name that the host already has is that file: it is fetched, never replaced by an empty text.
    auto same = [this](std::string_view name) { return equalsNoCase(name, chosen_); };
    if (same(remote::kGameOptionFile) || same(remote::kServerOptionFile)) {
        chosen_ = std::string(same(remote::kGameOptionFile) ? remote::kGameOptionFile : remote::kServerOptionFile);
        chosenIsNew_ = false;
    } else {
        chosenIsNew_ = std::find(listed_.begin(), listed_.end(), chosen_) == listed_.end();
    }
    accept();
}

void CPunkbusterConfigManagementDlg::done(int result) {
    closed_ = true;
    QDialog::done(result);
}

} // namespace kv::manager::ui
