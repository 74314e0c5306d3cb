#include "manager/ui/remote/CRemoteServerPunkbusterScreenshotsDlg.h"

#include "common/Files.h"
#include "gui/DesktopServices.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/ui/remote/AntiCheatWidgets.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace kv::manager::ui {

namespace {

// The fetched file carries the host's time, as the list shows it.
void stampFile(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace

CRemoteServerPunkbusterScreenshotsDlg::CRemoteServerPunkbusterScreenshotsDlg(
    core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop, remote::RemoteHost host,
    Mode mode, std::function<void()> help, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), desktop_(desktop), host_(std::move(host)), mode_(mode),
      help_(std::move(help)) {
    setObjectName(logs() ? QStringLiteral("antiCheatLogs") : QStringLiteral("antiCheatScreenshots"));
    setWindowTitle(logs() ? QStringLiteral("PunkBuster(tm) Log Files") : QStringLiteral("PunkBuster(tm) Screenshots"));
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);

    auto* layout = new QVBoxLayout(this);
    if (logs()) {
        auto* explanation = new QLabel(QStringLiteral("The list below shows all of the available PunkBuster(tm) log "
                                                      "files.  To view a log file double left click on the entry."),
                                       this);
        explanation->setObjectName(QStringLiteral("explanation"));
        explanation->setWordWrap(true);
        layout->addWidget(explanation);
    }
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("files"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers{QStringLiteral("PB File Name"), QStringLiteral("Date/Time")};
    if (logs())
        headers << QStringLiteral("Size (K)");
    list_->setHeaderLabels(headers);
    list_->header()->setStretchLastSection(false);
    const int widths[] = {100, 150, 80};
    for (int c = 0; c < headers.size(); ++c)
        list_->setColumnWidth(c, widths[c]);
    list_->setMinimumSize(logs() ? 360 : 280, 260);

    view_ = new QPushButton(logs() ? QStringLiteral("View Log File") : QStringLiteral("View Screenshot"), this);
    view_->setObjectName(QStringLiteral("view"));
    view_->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    buttons->addButton(view_, QDialogButtonBox::ActionRole);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("close"));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("help"));
    status_ = makeAntiCheatStatusLine(this);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);

    connect(runner_, &remote::RemoteRunner::statusText, this,
            gui::guarded([this](const QString& t) { status_->setText(t); }));
    connect(list_, &QTreeWidget::itemSelectionChanged, this, gui::guarded([this] { updateButtons(); }));
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            gui::guarded([this](QTreeWidgetItem*, int) { viewSelected(); }));
    connect(view_, &QPushButton::clicked, this, gui::guarded([this](bool) { viewSelected(); }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, gui::guarded([this] {
                if (help_)
                    help_();
            }));

    listFiles();
}

void CRemoteServerPunkbusterScreenshotsDlg::setBusy(bool busy) {
    busy_ = busy;
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    updateButtons();
}

void CRemoteServerPunkbusterScreenshotsDlg::updateButtons() {
    view_->setEnabled(!busy_ && selectedRow() >= 0);
}

int CRemoteServerPunkbusterScreenshotsDlg::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CRemoteServerPunkbusterScreenshotsDlg::selectRow(int row) {
    list_->clearSelection();
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        item->setSelected(true);
        list_->setCurrentItem(item);
    }
    updateButtons();
}

void CRemoteServerPunkbusterScreenshotsDlg::listFiles() {
    setBusy(true);
    list_->clear();
    rows_.clear();
    auto texts = std::make_shared<KvsmTextList>();
    const int selector = logs() ? 1 : 0;
    const bool started = runner_->run(
        host_,
        [texts, selector](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.retrievePunkbusterScreenshotFileList(object, texts.get(), selector);
        },
        [this, texts](int result) {
            if (!closed_)
                showIndex(result ? *texts : std::vector<std::string>{});
        });
    if (!started)
        showIndex({});
}

void CRemoteServerPunkbusterScreenshotsDlg::showIndex(const std::vector<std::string>& texts) {
    list_->clear();
    rows_.clear();
    // Each row goes on top, so the host's last text is shown first.
    for (remote::AntiCheatFileRow& row : remote::parseAntiCheatIndex(texts)) {
        QStringList cells{fromUtf8(row.name), fromUtf8(remote::fileTimeText(row.time))};
        if (logs())
            cells << fromUtf8(remote::fileSizeText(row.size));
        list_->insertTopLevelItem(0, new QTreeWidgetItem(cells));
        rows_.insert(rows_.begin(), std::move(row));
    }
    for (int c = 0; c < list_->columnCount(); ++c) {
        const int designed = list_->columnWidth(c);
        list_->resizeColumnToContents(c);
        list_->setColumnWidth(c, std::max(designed, list_->columnWidth(c)));
    }
    if (rows_.empty())
        status_->setText(logs() ? QStringLiteral("No PunkBuster log files found")
                                : QStringLiteral("No PunkBuster screen shots found"));
    else
        status_->setText(logs() ? QStringLiteral("PunkBuster log index retrieved")
                                : QStringLiteral("PunkBuster screen shot index retrieved"));
    setBusy(false);
}

void CRemoteServerPunkbusterScreenshotsDlg::viewSelected() {
    const int selected = selectedRow();
    if (busy_ || selected < 0)
        return;
    const remote::AntiCheatFileRow row = rows_[static_cast<std::size_t>(selected)];
    const std::string path = remote::cachedFilePath(context_.workingFolder, logs(), row.name);
    if (!remote::needsFetch(path, row.size)) {
        openCached(row);
        return;
    }
    setBusy(true);
    const int selector = logs() ? 1 : 0;
    const bool started = runner_->run(
        host_,
        [name = row.name, selector](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.retrievePunkbusterScreenshotFile(object, name.c_str(), selector);
        },
        [this, row, path](int result) {
            if (closed_)
                return;
            setBusy(false);
            status_->clear();
            if (!result)
                return;
            stampFile(path, row.time);
            openCached(row);
        });
    if (!started)
        setBusy(false);
}

void CRemoteServerPunkbusterScreenshotsDlg::openCached(const remote::AntiCheatFileRow& row) {
    const QString path = fromUtf8(remote::cachedFilePath(context_.workingFolder, logs(), row.name));
    if (desktop_.openFile(path) || logs())
        return;
    prompter_.showError(
        this,
        QStringLiteral("Your Window's configuration may not support or may not be configured to directly view "
                       "PunkBuster PNG files.\n\nTo resolve this problem you must install support for the PNG file "
                       "format.\n\nClick \"OK\" to view the contents of the downloaded PunkBuster PNG files folder "
                       "where you may be able to use another application to view the images."),
        QStringLiteral("PNG File Format Not Supported/Configured"));
    desktop_.openFolder(fromUtf8(remote::cacheFolder(context_.workingFolder, false)));
}

void CRemoteServerPunkbusterScreenshotsDlg::done(int result) {
    closed_ = true;
    unsetCursor();
    QDialog::done(result);
}

} // namespace kv::manager::ui
