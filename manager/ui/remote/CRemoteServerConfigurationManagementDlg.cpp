#include "manager/ui/remote/CRemoteServerConfigurationManagementDlg.h"

#include "common/Files.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/local/SetupPackage.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"
#include "manager/ui/CSelectServerSetupDlg.h"
#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace kv::manager::ui {

namespace {

using namespace std::chrono_literals;

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A host's name and address come from the administrator's list; a caption shows only this much of each.
QString captionPart(const std::string& s) {
    constexpr qsizetype kMaxCaptionPart = 80;
    QString shown = text(s).left(kMaxCaptionPart);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return shown;
}

setups::MapTable mapTable(const core::ManagerContext& context) {
    return setups::MapTable::load(joinPath(context.workingFolder, "MapInfo.xml"));
}

// The designed column widths; a column grows when its texts need more (a time, "LANTOURNAMENT").
constexpr int kColumnWidths[] = {350, 100, 80, 120};

const QString kNotAvailable = QStringLiteral("Server Remote Control Utility is not available.");
const QString kDownloadFailureCaption = QStringLiteral("Server Setup Download Failure");

} // namespace

CRemoteServerConfigurationManagementDlg::CRemoteServerConfigurationManagementDlg(
    core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop, remote::RemoteHost host,
    std::string serverName, int playerCount, std::function<void()> help, std::function<void()> librarySetupsChanged,
    QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), desktop_(desktop), host_(std::move(host)),
      serverName_(std::move(serverName)), playerCount_(playerCount), help_(std::move(help)),
      librarySetupsChanged_(std::move(librarySetupsChanged)) {
    setObjectName(QStringLiteral("remoteSetups"));
    setWindowTitle(QStringLiteral("Remote Server Setups Management for %1 (%2)")
                       .arg(captionPart(serverName_), captionPart(host_.address)));
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);
    connect(runner_, &remote::RemoteRunner::statusText, this, gui::guarded([this](const QString& t) { setStatus(t); }));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("setups"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setHeaderLabels({QStringLiteral("Server Setup Name"), QStringLiteral("Map"), QStringLiteral("Server Type"),
                            QStringLiteral("Last Update")});
    list_->header()->setStretchLastSection(false);
    fitColumns();
    list_->setMinimumSize(350 + 100 + 80 + 120 + 24, 240);

    auto* column = new QVBoxLayout;
    const struct {
        const char* name;
        const char* label;
    } pushes[] = {{"activate", "Activate Setup"},
                  {"add", "Add Setup"},
                  {"remove", "Remove Setup"},
                  {"cancel", "Cancel"},
                  {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.label), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        column->addWidget(b);
    }
    column->addStretch();
    button("activate")->setDefault(true);

    warning_ = new QLabel(text(remote::playerWarningText(playerCount_)), this);
    warning_->setObjectName(QStringLiteral("playerWarning"));
    warning_->setWordWrap(true);
    QPalette palette = warning_->palette();
    palette.setColor(QPalette::WindowText, playerCount_ > 0 ? QColor(Qt::red) : QColor(Qt::black));
    warning_->setPalette(palette);
    if (playerCount_ > 0) {
        QFont bold = warning_->font();
        bold.setBold(true);
        warning_->setFont(bold);
    }
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumHeight(status_->fontMetrics().height() + 6);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(column);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(warning_);
    layout->addWidget(status_);
    resize(900, 380); // room for the times and run modes beyond the designed column widths

    menu_ = new QMenu(this);
    const struct {
        const char* name;
        const char* label;
        void (CRemoteServerConfigurationManagementDlg::*act)();
    } items[] = {
        {"update", "Update Server Setup", &CRemoteServerConfigurationManagementDlg::updateSetup},
        {"download", "Download Setup From Server", &CRemoteServerConfigurationManagementDlg::downloadSetup},
        {"edit", "Edit Server Setup (Download Then Edit)", &CRemoteServerConfigurationManagementDlg::editSetup}};
    for (const auto& item : items) {
        if (item.act == &CRemoteServerConfigurationManagementDlg::editSetup)
            menu_->addSeparator();
        QAction* action = menu_->addAction(QString::fromUtf8(item.label));
        action->setObjectName(QString::fromUtf8(item.name));
        connect(action, &QAction::triggered, this, gui::guarded([this, act = item.act](bool) { (this->*act)(); }));
    }

    connect(list_, &QTreeWidget::itemSelectionChanged, this, gui::guarded([this] { updateButtons(); }));
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            gui::guarded([this](QTreeWidgetItem*, int) { activateSetup(); }));
    connect(list_, &QWidget::customContextMenuRequested, this, gui::guarded([this](const QPoint& at) {
                if (!busy_ && selectedRow() >= 0)
                    menu_->popup(list_->viewport()->mapToGlobal(at));
            }));
    connect(button("activate"), &QPushButton::clicked, this, gui::guarded([this](bool) { activateSetup(); }));
    connect(button("add"), &QPushButton::clicked, this, gui::guarded([this](bool) { addSetup(); }));
    connect(button("remove"), &QPushButton::clicked, this, gui::guarded([this](bool) { removeSetup(); }));
    connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (help_)
                    help_();
            }));

    listSetups();
}

QPushButton* CRemoteServerConfigurationManagementDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

int CRemoteServerConfigurationManagementDlg::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CRemoteServerConfigurationManagementDlg::selectRow(int row) {
    list_->clearSelection();
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        item->setSelected(true);
        list_->setCurrentItem(item);
    }
    updateButtons();
}

std::string CRemoteServerConfigurationManagementDlg::selectedName() const {
    const int row = selectedRow();
    return row < 0 ? std::string() : rows_[static_cast<std::size_t>(row)].name;
}

void CRemoteServerConfigurationManagementDlg::setStatus(const QString& t) {
    status_->setText(t);
}

void CRemoteServerConfigurationManagementDlg::updateButtons() {
    const bool selected = !busy_ && available_ && selectedRow() >= 0;
    button("activate")->setEnabled(selected);
    button("remove")->setEnabled(selected);
    button("add")->setEnabled(!busy_ && available_);
    list_->setEnabled(!busy_ && available_);
    for (QAction* action : menu_->actions())
        action->setEnabled(selected);
}

void CRemoteServerConfigurationManagementDlg::enterBusy() {
    busy_ = true;
    setCursor(Qt::WaitCursor);
    updateButtons();
}

void CRemoteServerConfigurationManagementDlg::leaveBusy() {
    busy_ = false;
    unsetCursor();
    button("cancel")->setEnabled(true);
    updateButtons();
    emit idle();
}

bool CRemoteServerConfigurationManagementDlg::run(remote::RemoteRunner::Call call, Finish finish) {
    // A result that comes after the window has ended belongs to nobody: an abandoned call is simply dropped.
    return runner_->run(host_, std::move(call), [this, finish = std::move(finish)](int result) {
        if (!closed_)
            finish(result);
    });
}

void CRemoteServerConfigurationManagementDlg::listSetups() {
    enterBusy();
    list_->clear();
    rows_.clear();
    setStatus(QStringLiteral("Contacting Remote Server, please wait..."));
    auto texts = std::make_shared<KvsmTextList>();
    const bool started =
        run([texts](const RemoteControlLibrary& library,
                    KvsmRemoteObject* object) { return library.retrieveServerSetupList(object, texts.get()); },
            [this, texts](int result) {
                if (result)
                    showSetupList(*texts);
                else
                    listingFailed();
            });
    if (!started)
        listingFailed();
}

void CRemoteServerConfigurationManagementDlg::listingFailed() {
    available_ = false;
    setStatus(kNotAvailable);
    leaveBusy();
}

void CRemoteServerConfigurationManagementDlg::showSetupList(const std::vector<std::string>& texts) {
    setStatus(QStringLiteral("Analyzing Results, please wait..."));
    list_->clear();
    rows_.clear();
    // Each text goes on top, so the list shows the host's order reversed, as administrators know it.
    for (const std::string& t : texts) {
        if (rows_.size() >= remote::kMaxRemoteSetupRows)
            break;
        std::optional<remote::RemoteSetupRow> row = remote::parseRemoteSetupRow(t);
        if (!row)
            continue;
        list_->insertTopLevelItem(
            0, new QTreeWidgetItem(QStringList{text(row->name), text(row->map), text(row->serverType),
                                               text(remote::lastUpdateText(row->lastUpdate))}));
        rows_.insert(rows_.begin(), std::move(*row));
    }
    fitColumns();
    available_ = true;
    setStatus(QString());
    leaveBusy();
}

void CRemoteServerConfigurationManagementDlg::fitColumns() {
    for (int column = 0; column < 4; ++column) {
        list_->resizeColumnToContents(column);
        list_->setColumnWidth(column, std::max(kColumnWidths[column], list_->columnWidth(column)));
    }
}

bool CRemoteServerConfigurationManagementDlg::localPathFor(const std::string& name, std::string& path,
                                                           const QString& caption) {
    // The name came from the host: it becomes a path in the library only when it is a usable setup name.
    if (!setups::isUsableSetupName(name)) {
        prompter_.showError(this,
                            QStringLiteral("The server setup name \"%1\" cannot be used as a setup file name on this "
                                           "computer.")
                                .arg(text(name)),
                            caption);
        return false;
    }
    path = setups::SetupStore(context_.workingFolder).pathFor(name);
    return true;
}

std::optional<remote::SetupUpload>
CRemoteServerConfigurationManagementDlg::prepareUpload(const std::string& setupFile) {
    const setups::MapTable maps = mapTable(context_);
    local::SetupPackage package = local::SetupPackage::generate(context_, maps, setupFile);
    if (!package.ok) {
        prompter_.showError(this, text(package.message), text(package.title));
        return std::nullopt;
    }
    return remote::makeSetupUpload(package.setup, maps, joinPath(package.folder, package.setup.generatedIniName),
                                   setupFile);
}

void CRemoteServerConfigurationManagementDlg::upload(remote::SetupUpload upload, Pause pause) {
    enterBusy();
    const std::chrono::milliseconds wait = pause == Pause::Around ? 500ms : 0ms;
    const QString name = text(upload.name);
    auto sent = std::make_shared<const remote::SetupUpload>(std::move(upload));
    const bool started = run(
        [sent, wait](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return static_cast<int>(remote::uploadSetup(library, object, *sent, wait));
        },
        [this, name](int result) {
            const auto outcome = static_cast<remote::UploadResult>(result);
            if (outcome != remote::UploadResult::Complete)
                prompter_.showError(this,
                                    outcome == remote::UploadResult::Refused
                                        ? QStringLiteral("The server setup \"%1\" could not be sent to the server.  "
                                                         "The status line shows what the server remote control "
                                                         "reported.")
                                              .arg(name)
                                        : QStringLiteral("The server configuration of \"%1\" was sent, but the "
                                                         "server setup file could not be.  Your internet connection "
                                                         "may have had a problem.")
                                              .arg(name),
                                    QStringLiteral("Server Setup Upload Failure"));
            if (outcome == remote::UploadResult::Refused)
                leaveBusy();
            else
                listSetups();
        });
    if (!started)
        listingFailed();
}

void CRemoteServerConfigurationManagementDlg::addSetup() {
    if (busy_ || !available_)
        return;
    CSelectServerSetupDlg chooser(context_, prompter_, text(serverName_), text(host_.address), this);
    if (!prompter_.runDialog(chooser))
        return;
    if (std::optional<remote::SetupUpload> prepared = prepareUpload(chooser.chosenFile()))
        upload(std::move(*prepared), Pause::None);
}

void CRemoteServerConfigurationManagementDlg::updateSetup() {
    const std::string name = selectedName();
    const QString caption = QStringLiteral("Server Setup Not In Library");
    std::string path;
    if (busy_ || name.empty() || !localPathFor(name, path, caption))
        return;
    if (!fileExists(path)) {
        prompter_.showError(this,
                            QStringLiteral("There is no server setup named \"%1\" in your \"Available Server Setups\" "
                                           "list, so the server's copy cannot be updated from it.")
                                .arg(text(name)),
                            caption);
        return;
    }
    if (std::optional<remote::SetupUpload> prepared = prepareUpload(path))
        upload(std::move(*prepared), Pause::Around);
}

void CRemoteServerConfigurationManagementDlg::downloadSetup() {
    download(false);
}

void CRemoteServerConfigurationManagementDlg::editSetup() {
    download(true);
}

void CRemoteServerConfigurationManagementDlg::download(bool thenEdit) {
    const std::string name = selectedName();
    std::string path;
    if (busy_ || name.empty() || !localPathFor(name, path, kDownloadFailureCaption))
        return;
    if (fileExists(path) &&
        !prompter_.askYesNo(this,
                            QStringLiteral("A server setup named \"%1\" is already in your \"Available Server Setups\" "
                                           "list.  Do you want to replace it with the one from the server?")
                                .arg(text(name)),
                            QStringLiteral("Replace Server Setup")))
        return;
    enterBusy();
    const bool started = run(
        [name](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.downloadServerSetup(object, name.c_str());
        },
        [this, thenEdit, path](int result) {
            setStatus(QString());
            leaveBusy();
            if (!result) {
                prompter_.showError(this,
                                    QStringLiteral("The download of the requested server setup failed.  Your internet "
                                                   "connection may have had a problem or the server setup may not be "
                                                   "valid on the server."),
                                    kDownloadFailureCaption);
                return; // an edit ends here: nothing is sent in place of the host's setup
            }
            if (librarySetupsChanged_)
                librarySetupsChanged_();
            if (thenEdit)
                editDownloaded(path);
            else
                prompter_.showInformation(
                    this, QStringLiteral("Server Setup downloaded into the \"Available Server Setups\" list."),
                    QStringLiteral("Server Setup Downloaded"));
        });
    if (!started)
        listingFailed();
}

void CRemoteServerConfigurationManagementDlg::editDownloaded(const std::string& file) {
    const setups::MapTable maps = mapTable(context_);
    std::string saved;
    const bool edited = CServerDetailsPropertySheet::edit(context_, prompter_, desktop_, maps, file, this, &saved);
    raise();
    activateWindow();
    if (!edited)
        return;
    if (librarySetupsChanged_)
        librarySetupsChanged_();
    // The sheet saved the setup under its (possibly new) name; that is the one sent back.
    if (std::optional<remote::SetupUpload> prepared = prepareUpload(saved.empty() ? file : saved))
        upload(std::move(*prepared), Pause::Around);
}

void CRemoteServerConfigurationManagementDlg::removeSetup() {
    const std::string name = selectedName();
    if (busy_ || name.empty())
        return;
    if (!prompter_.askYesNo(this,
                            QStringLiteral("Are you sure you want to remove the selected setup \"%1\" from the server?")
                                .arg(text(name)),
                            QStringLiteral("Remove Setup From Server")))
        return;
    enterBusy();
    const bool started =
        run([name](const RemoteControlLibrary& library,
                   KvsmRemoteObject* object) { return library.deleteConfiguration(object, name.c_str()); },
            [this, name](int result) {
                if (!result)
                    prompter_.showError(
                        this,
                        QStringLiteral("The server setup \"%1\" could not be removed from the server.  Your "
                                       "internet connection may have had a problem or the server setup "
                                       "may no longer be on the server.")
                            .arg(text(name)),
                        QStringLiteral("Remove Setup Failure"));
                listSetups();
            });
    if (!started)
        listingFailed();
}

void CRemoteServerConfigurationManagementDlg::activateSetup() {
    const std::string name = selectedName();
    if (busy_ || name.empty())
        return;
    if (playerCount_ > 0 && !prompter_.askYesNo(this, text(remote::kickPlayersQuestion(playerCount_)),
                                                QStringLiteral("Kick Players and Activate New Setup")))
        return;
    enterBusy();
    const bool started =
        run([name](const RemoteControlLibrary& library,
                   KvsmRemoteObject* object) { return library.activateConfiguration(object, name.c_str()); },
            [this, name](int result) {
                if (result) {
                    accept();
                    return;
                }
                leaveBusy();
                prompter_.showError(this,
                                    QStringLiteral("The server setup \"%1\" could not be activated on the server.  The "
                                                   "status line shows what the server remote control reported.")
                                        .arg(text(name)),
                                    QStringLiteral("Activate Setup Failure"));
            });
    if (!started)
        listingFailed();
}

void CRemoteServerConfigurationManagementDlg::done(int result) {
    closed_ = true;
    unsetCursor();
    QDialog::done(result);
}

bool manageRemoteSetups(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                        const remote::RemoteHost& host, const std::string& serverName, int playerCount,
                        std::function<void()> help, std::function<void()> librarySetupsChanged, QWidget* parent) {
    CRemoteServerConfigurationManagementDlg dialog(context, prompter, desktop, host, serverName, playerCount,
                                                   std::move(help), std::move(librarySetupsChanged), parent);
    return prompter.runDialog(dialog);
}

} // namespace kv::manager::ui
