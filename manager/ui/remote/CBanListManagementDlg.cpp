#include "manager/ui/remote/CBanListManagementDlg.h"
#include "manager/ui/preferences/BanListView.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "common/LocalTime.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/HostBanFile.h"
#include "manager/core/ManagerContext.h"
#include "manager/ui/remote/CBanListAddNewPlayerDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace kv::manager::ui {

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString kRetrieved = QStringLiteral("Ban List Retrieved");
const QString kNotRetrieved = QStringLiteral(
    "The Ban List could not be retrieved.  The remote server may not be running the latest version of the program.");
const QString kNotStored =
    QStringLiteral("The Ban List could not be saved locally prior to transmission.  Your disk may be low on space.");
const QString kNotUpdated = QStringLiteral(
    "The Ban List could not be updated.  The remote server may not be running the latest version of the program.");

} // namespace

CBanListManagementDlg::CBanListManagementDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                             remote::RemoteHost host, const std::string& serverName,
                                             std::function<void(const char* page)> help, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), host_(std::move(host)), help_(std::move(help)) {
    setObjectName(QStringLiteral("banListManagement"));
    setWindowTitle(QStringLiteral("Ban List Management"));
    if (const std::string name = core::hostBanFileName(host_.address); !name.empty())
        localFile_ = joinPath(context_.workingFolder, name);
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);
    connect(runner_, &remote::RemoteRunner::statusText, this, gui::guarded([this](const QString& t) { setStatus(t); }));

    view_ = new QTreeWidget(this);
    ban_view::setUp(*view_);
    fitColumns();
    view_->setMinimumSize(70 + 120 + 100 + 120 + 24, 220);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setMinimumHeight(2 * status_->fontMetrics().height() + 6); // the designed failure texts take two lines

    auto* edits = new QHBoxLayout;
    auto* ends = new QHBoxLayout;
    ends->addStretch();
    const struct {
        const char* name;
        const char* label;
        QHBoxLayout* row;
    } pushes[] = {{"add", "Add Ban Entry", edits},
                  {"remove", "Remove Ban Entry", edits},
                  {"import", "Import Master Ban List", edits},
                  {"save", "Save Changes", ends},
                  {"discard", "Discard Changes", ends}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.label), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        p.row->addWidget(b);
    }
    edits->addStretch();
    button("save")->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(edits);
    layout->addWidget(status_);
    layout->addLayout(ends);

    connect(view_, &QTreeWidget::itemSelectionChanged, this, gui::guarded([this] {
                button("remove")->setEnabled(!busy_ && view_->isEnabled() && !view_->selectedItems().isEmpty());
            }));
    connect(button("add"), &QPushButton::clicked, this, gui::guarded([this](bool) { addEntry(); }));
    connect(button("remove"), &QPushButton::clicked, this, gui::guarded([this](bool) { removeSelectedEntry(); }));
    connect(button("import"), &QPushButton::clicked, this, gui::guarded([this](bool) { importMasterList(); }));
    connect(button("save"), &QPushButton::clicked, this, gui::guarded([this](bool) { saveChanges(); }));
    connect(button("discard"), &QPushButton::clicked, this, &QDialog::reject);
    // The designed window has no Help button; F1 opens its page.
    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    connect(helpKey, &QShortcut::activated, this, gui::guarded([this] {
                if (help_)
                    help_("BanListManagement.html");
            }));

    setEditing(false);
    button("save")->setEnabled(false);
    setStatus(QStringLiteral("Contacting %1, please wait...").arg(text(serverName).left(80)));
    download();
}

QPushButton* CBanListManagementDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void CBanListManagementDlg::setStatus(const QString& t) {
    status_->setText(t);
}

void CBanListManagementDlg::setEditing(bool open) {
    view_->setEnabled(open);
    button("add")->setEnabled(open);
    button("import")->setEnabled(open);
    button("remove")->setEnabled(open && !view_->selectedItems().isEmpty());
}

void CBanListManagementDlg::finish() {
    busy_ = false;
    unsetCursor();
    emit idle();
}

void CBanListManagementDlg::download() {
    if (localFile_.empty()) {
        setStatus(QStringLiteral("The address \"%1\" cannot name a local ban list file.").arg(text(host_.address)));
        return;
    }
    busy_ = true;
    setCursor(Qt::BusyCursor);
    auto downloaded = std::make_shared<core::BanList>();
    const std::string file = localFile_;
    const bool started = runner_->run(
        host_,
        [file, downloaded](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            // A host without a list sends nothing and the library leaves the local file alone: the copy of an
            // earlier exchange must not stand in for the host's list.
            if (!core::setAsideBanFile(file) || !library.downloadBanList(object, file.c_str()))
                return 0;
            core::mergeBanListFile(file, *downloaded);
            return 1;
        },
        [this, downloaded](int result) {
            if (closed_)
                return;
            finish();
            if (result)
                showDownloadedList(*downloaded);
            else
                setStatus(kNotRetrieved);
        });
    if (!started) {
        finish();
        setStatus(kNotRetrieved);
    }
}

void CBanListManagementDlg::showDownloadedList(const core::BanList& list) {
    list_ = list;
    fillView();
    setEditing(true);
    setStatus(kRetrieved);
}

void CBanListManagementDlg::fillView() {
    ban_view::show(*view_, list_);
    fitColumns();
    button("remove")->setEnabled(false);
}

void CBanListManagementDlg::fitColumns() {
    for (int column = 0; column < 4; ++column) {
        view_->resizeColumnToContents(column);
        view_->setColumnWidth(column, std::max(ban_view::kColumnWidths[column], view_->columnWidth(column)));
    }
}

void CBanListManagementDlg::addEntry() {
    if (busy_ || !view_->isEnabled())
        return;
    const std::int64_t now = context_.clock ? context_.clock->nowSeconds() : currentSeconds();
    CBanListAddNewPlayerDlg dialog(
        now, prompter_,
        [this] {
            if (help_)
                help_("AddNewPlayerBan.html");
        },
        this);
    if (!prompter_.runDialog(dialog) || closed_)
        return;
    ban_view::insertAtTop(*view_, list_, dialog.entry());
    fitColumns();
    button("save")->setEnabled(true);
}

void CBanListManagementDlg::removeSelectedEntry() {
    if (busy_ || !ban_view::removeSelected(*view_, list_))
        return;
    button("remove")->setEnabled(false);
    button("save")->setEnabled(true);
}

void CBanListManagementDlg::importMasterList() {
    if (busy_ || !view_->isEnabled())
        return;
    // The master list is a small local file, read here like the preferences page reads it.
    if (core::mergeBanListFile(joinPath(context_.workingFolder, core::kMasterBanListFile), list_) == 0)
        return;
    fillView();
    button("save")->setEnabled(true); // the merged rows are changes to send
}

void CBanListManagementDlg::saveChanges() {
    if (busy_ || localFile_.empty() || !button("save")->isEnabled())
        return;
    busy_ = true;
    setCursor(Qt::BusyCursor);
    button("save")->setEnabled(false);
    setEditing(false);
    auto rows = std::make_shared<const core::BanList>(list_);
    const std::string file = localFile_, folder = context_.workingFolder;
    const bool started = runner_->run(
        host_,
        [rows, file, folder](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            if (!core::storeBanListForUpload(folder, file, *rows))
                return static_cast<int>(Upload::NotStored);
            return static_cast<int>(library.uploadBanList(object, file.c_str()) ? Upload::Sent : Upload::Failed);
        },
        [this](int result) {
            if (closed_)
                return;
            finish();
            setEditing(true);
            const auto outcome = static_cast<Upload>(result);
            if (outcome == Upload::Sent) {
                setStatus(kRetrieved);
                return;
            }
            setStatus(outcome == Upload::NotStored ? kNotStored : kNotUpdated);
            button("save")->setEnabled(true); // the changes are still to be sent: a retry needs the button
        });
    if (!started) {
        finish();
        setEditing(true);
        setStatus(kNotUpdated);
        button("save")->setEnabled(true);
    }
}

void CBanListManagementDlg::done(int result) {
    closed_ = true;
    unsetCursor();
    QDialog::done(result);
}

void manageRemoteBanList(core::ManagerContext& context, gui::Prompter& prompter, const remote::RemoteHost& host,
                         const std::string& serverName, std::function<void(const char* page)> help, QWidget* parent) {
    CBanListManagementDlg dialog(context, prompter, host, serverName, std::move(help), parent);
    prompter.runDialog(dialog);
}

} // namespace kv::manager::ui
