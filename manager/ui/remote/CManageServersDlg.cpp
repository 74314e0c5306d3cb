#include "manager/ui/remote/CManageServersDlg.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/ui/remote/CEditServerDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::manager::ui {

CManageServersDlg::CManageServersDlg(std::string workingFolder, gui::Prompter& prompter, std::function<void()> help,
                                     ControlServer control, QWidget* parent)
    : QDialog(parent), workingFolder_(std::move(workingFolder)), prompter_(prompter), help_(std::move(help)),
      control_(std::move(control)) {
    setWindowTitle(QStringLiteral("Manage Remote Servers"));
    auto* layout = new QHBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("servers"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Server Name"), QStringLiteral("IP Address"), QStringLiteral("Admin Name"),
                            QStringLiteral("Status")});
    list_->setColumnWidth(0, 150);
    list_->setColumnWidth(1, 120);
    list_->setColumnWidth(2, 120);
    // Wide enough for "Running: <a setup name>, 12 players, up 2h 05m"; longer texts show in the tool tip.
    list_->setColumnWidth(3, 320);
    list_->setMinimumWidth(150 + 120 + 120 + 320 + 24);
    layout->addWidget(list_, 1);

    auto* column = new QVBoxLayout;
    const struct {
        const char* name;
        const char* text;
    } pushes[] = {{"control", "Control Server"}, {"add", "Add Server"}, {"edit", "Edit Server"},
                  {"remove", "Remove Server"},   {"close", "Close"},    {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.text), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        column->addWidget(b);
    }
    column->addStretch();
    layout->addLayout(column);
    if (!control_)
        button("control")->setToolTip(QStringLiteral("Not available yet: this version has no remote control window."));

    connect(list_, &QTreeWidget::itemSelectionChanged, this, gui::guarded([this] { updateButtons(); }));
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            gui::guarded([this](QTreeWidgetItem*, int) { controlServer(); }));
    connect(button("control"), &QPushButton::clicked, this, gui::guarded([this](bool) { controlServer(); }));
    connect(button("add"), &QPushButton::clicked, this, gui::guarded([this](bool) { addServer(); }));
    connect(button("edit"), &QPushButton::clicked, this, gui::guarded([this](bool) { editServer(); }));
    connect(button("remove"), &QPushButton::clicked, this, gui::guarded([this](bool) { removeServer(); }));
    connect(button("close"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (help_)
                    help_();
            }));

    rows_ = remote::loadRemoteServerRows(workingFolder_);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rowStatus_.push_back(newRowStatus());
    showRows(-1);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kStatusRefreshMs);
    connect(refreshTimer_, &QTimer::timeout, this, gui::guarded([this](auto&&...) { refreshAll(); }));
}

void CManageServersDlg::startStatusRefresh(std::shared_ptr<const RemoteControlLibrary> library,
                                           remote::FleetOptions options) {
    if (!library || fleet_)
        return;
    fleet_ = new remote::FleetStatus(std::move(library), options, this);
    connect(fleet_, &remote::FleetStatus::hostChecked, this,
            gui::guarded([this](remote::FleetStatus::Key key, const remote::HostStatus& status) {
                showHostStatus(key, status);
            }));
    // The next round is counted from the end of this one, so that rounds never overlap.
    connect(fleet_, &remote::FleetStatus::refreshEnded, this, gui::guarded([this] {
                if (!closed_)
                    refreshTimer_->start();
            }));
    refreshAll();
}

CManageServersDlg::RowStatus CManageServersDlg::newRowStatus() {
    return RowStatus{nextKey_++, QString()};
}

remote::FleetStatus::Host CManageServersDlg::fleetHost(std::size_t row) const {
    const remote::RemoteServerEntry& e = rows_[row];
    return {rowStatus_[row].key, remote::RemoteHost{e.address, e.adminName, e.password}, core::kStatusQueryPort};
}

void CManageServersDlg::refreshAll() {
    if (!fleet_ || closed_)
        return;
    std::vector<remote::FleetStatus::Host> hosts;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        hosts.push_back(fleetHost(row));
        // A row keeps its last status while it is asked again; only a row never answered says it is being asked.
        if (rowStatus_[row].text.isEmpty())
            showHostStatus(rowStatus_[row].key, remote::HostStatus{});
    }
    fleet_->refresh(hosts);
}

void CManageServersDlg::refreshRow(std::size_t row) {
    if (!fleet_ || closed_ || row >= rows_.size())
        return;
    showHostStatus(rowStatus_[row].key, remote::HostStatus{});
    fleet_->refreshHost(fleetHost(row));
}

remote::FleetStatus::Key CManageServersDlg::rowKey(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rowStatus_.size() ? rowStatus_[static_cast<std::size_t>(row)].key
                                                                         : 0;
}

QString CManageServersDlg::statusText(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rowStatus_.size()
               ? rowStatus_[static_cast<std::size_t>(row)].text
               : QString();
}

void CManageServersDlg::showHostStatus(remote::FleetStatus::Key key, const remote::HostStatus& status) {
    for (std::size_t row = 0; row < rowStatus_.size(); ++row) {
        if (rowStatus_[row].key != key)
            continue;
        rowStatus_[row].text = QString::fromStdString(remote::hostStatusText(status));
        if (QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(row))) {
            item->setText(3, rowStatus_[row].text);
            item->setToolTip(3, rowStatus_[row].text);
        }
        return;
    }
}

QPushButton* CManageServersDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

int CManageServersDlg::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CManageServersDlg::selectRow(int row) {
    list_->clearSelection();
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        item->setSelected(true);
        list_->setCurrentItem(item);
    }
    updateButtons();
}

void CManageServersDlg::showRows(int select) {
    list_->clear();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const remote::RemoteServerEntry& e = rows_[row];
        auto* item =
            new QTreeWidgetItem(QStringList{QString::fromStdString(e.serverName), QString::fromStdString(e.address),
                                            QString::fromStdString(e.adminName), rowStatus_[row].text});
        item->setToolTip(3, rowStatus_[row].text);
        list_->addTopLevelItem(item);
    }
    selectRow(select);
}

void CManageServersDlg::updateButtons() {
    const bool selected = selectedRow() >= 0;
    button("control")->setEnabled(selected && control_);
    button("edit")->setEnabled(selected);
    button("remove")->setEnabled(selected);
}

void CManageServersDlg::addServer() {
    CEditServerDlg editor(prompter_, help_, this);
    if (!prompter_.runDialog(editor))
        return;
    rows_.insert(rows_.begin(), editor.entry());
    rowStatus_.insert(rowStatus_.begin(), newRowStatus());
    showRows(0);
    refreshRow(0);
}

void CManageServersDlg::editServer() {
    const int row = selectedRow();
    if (row < 0)
        return;
    CEditServerDlg editor(prompter_, help_, this);
    editor.setEntry(rows_[static_cast<std::size_t>(row)]);
    if (!prompter_.runDialog(editor))
        return;
    const remote::RemoteServerEntry changed = editor.entry();
    remote::RemoteServerEntry& old = rows_[static_cast<std::size_t>(row)];
    if (changed.adminName != old.adminName || changed.password != old.password)
        prompter_.showInformation(this,
                                  QStringLiteral("You have changed the server remote control login information.  The "
                                                 "server remote control must be contacted and updated with the new "
                                                 "information."),
                                  QStringLiteral("Server Remote Control Must Be Updated"));
    old = changed;
    showRows(row);
    refreshRow(static_cast<std::size_t>(row));
}

void CManageServersDlg::removeServer() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString name = QString::fromStdString(rows_[static_cast<std::size_t>(row)].serverName);
    if (!prompter_.askYesNo(this,
                            QStringLiteral("Are you sure you want to remove the server \"%1\" from the remotely "
                                           "controlled server list?")
                                .arg(name),
                            QStringLiteral("Remove Server From List")))
        return;
    rows_.erase(rows_.begin() + row);
    rowStatus_.erase(rowStatus_.begin() + row);
    showRows(-1);
}

void CManageServersDlg::controlServer() {
    const int row = selectedRow();
    if (row < 0 || !control_)
        return;
    control_(rows_[static_cast<std::size_t>(row)]);
    accept();
}

CManageServersDlg::~CManageServersDlg() {
    saveOnce();
}

void CManageServersDlg::done(int result) {
    // A closed list asks nothing more, and answers still under way are dropped.
    closed_ = true;
    refreshTimer_->stop();
    if (fleet_)
        fleet_->stop();
    saveOnce();
    QDialog::done(result);
}

void CManageServersDlg::saveOnce() noexcept {
    // Every way out saves, once; a file that cannot be written loses the changes without a word, as designed.
    if (saved_)
        return;
    saved_ = true;
    try {
        remote::saveRemoteServerRows(workingFolder_, rows_);
    } catch (...) {
    }
}

} // namespace kv::manager::ui
