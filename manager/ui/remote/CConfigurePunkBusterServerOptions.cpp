#include "manager/ui/remote/CConfigurePunkBusterServerOptions.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "gui/DialogButtons.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/AntiCheatFiles.h"
#include "manager/remote/AntiCheatSettings.h"
#include "manager/ui/remote/AntiCheatWidgets.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

const QString kContacting = QStringLiteral("Contacting Remote Server, please wait...");
const QString kNoResponse =
    QStringLiteral("The Remote Server did not respond or does not support this version of KVSM.");

// The library asks for an option file by its name without ".cfg".
std::string remoteName(const std::string& file) {
    return file.size() > 4 ? file.substr(0, file.size() - 4) : file;
}

} // namespace

CConfigurePunkBusterServerOptions::CConfigurePunkBusterServerOptions(core::ManagerContext& context,
                                                                     gui::Prompter& prompter, remote::RemoteHost host,
                                                                     std::string optionFile, bool isNew,
                                                                     std::function<void()> help, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), host_(std::move(host)), file_(std::move(optionFile)),
      help_(std::move(help)) {
    setObjectName(QStringLiteral("antiCheatEditor"));
    setWindowTitle(QStringLiteral("PunkBuster(tm) Server %1 Configuration").arg(fromUtf8(file_)));
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setEnabled(false);
    settings_ = new QListWidget(this);
    settings_->setObjectName(QStringLiteral("settings"));
    settings_->setSortingEnabled(true);
    const auto table = remote::antiCheatSettings();
    for (std::size_t row : remote::offeredSettings(file_)) {
        auto* item = new QListWidgetItem(
            QString::fromUtf8(table[row].name.data(), static_cast<qsizetype>(table[row].name.size())));
        item->setData(Qt::UserRole, static_cast<qulonglong>(row));
        settings_->addItem(item);
    }
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("description"));
    description_->setReadOnly(true);
    QPalette white = description_->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    description_->setPalette(white);
    status_ = makeAntiCheatStatusLine(this);
    QDialogButtonBox* buttons = gui::okCancelHelpButtons(*this, [this] {
        if (help_)
            help_();
    });
    // OK stores and sends first; the box's own accept would end the dialog at once.
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(buttons, &QDialogButtonBox::accepted, this, gui::guarded([this] { save(); }));

    auto* grid = new QGridLayout;
    grid->addWidget(text_, 0, 0, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Common PB Server Settings"), this), 0, 1);
    grid->addWidget(settings_, 1, 1);
    grid->addWidget(description_, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(860, 520);

    connect(runner_, &remote::RemoteRunner::statusText, this,
            gui::guarded([this](const QString& t) { status_->setText(t); }));
    connect(settings_, &QListWidget::itemSelectionChanged, this, gui::guarded([this] { showDescription(); }));
    connect(settings_, &QListWidget::itemDoubleClicked, this, gui::guarded([this](QListWidgetItem* item) {
                appendSetting(static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong()));
            }));

    if (isNew)
        text_->setEnabled(true);
    else
        download();
}

QPushButton* CConfigurePunkBusterServerOptions::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

std::string CConfigurePunkBusterServerOptions::workingCopy() const {
    return remote::optionFileCopyPath(context_.workingFolder, host_.address, file_);
}

void CConfigurePunkBusterServerOptions::setBusy(bool busy) {
    busy_ = busy;
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    button("ok")->setEnabled(!busy);
}

void CConfigurePunkBusterServerOptions::download() {
    status_->setText(kContacting);
    // A host without the file leaves the working copy alone: an old copy must not pass for the host's text.
    if (!remote::moveAside(workingCopy())) {
        showDownloaded(false);
        return;
    }
    setBusy(true);
    const std::string name = remoteName(file_);
    const bool started = runner_->run(
        host_,
        [name](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.downloadPBConfig(object, name.c_str());
        },
        [this](int result) {
            if (!closed_)
                showDownloaded(result != 0);
        });
    if (!started)
        showDownloaded(false);
}

void CConfigurePunkBusterServerOptions::showDownloaded(bool ok) {
    setBusy(false);
    std::optional<std::string> bytes;
    if (ok && fileExists(workingCopy())) {
        bytes = readRegularFile(workingCopy(), remote::kMaxOptionFileBytes);
        ok = bytes.has_value();
    }
    if (ok) {
        text_->setPlainText(fromUtf8(remote::editorTextFromFile(bytes.value_or(std::string()))));
        status_->setText(QStringLiteral("PB configuration retrieved."));
    } else {
        status_->setText(kNoResponse);
    }
    text_->setEnabled(true);
}

void CConfigurePunkBusterServerOptions::showDescription() {
    const QList<QListWidgetItem*> selected = settings_->selectedItems();
    if (selected.isEmpty()) {
        description_->clear();
        return;
    }
    const auto& setting =
        remote::antiCheatSettings()[static_cast<std::size_t>(selected.front()->data(Qt::UserRole).toULongLong())];
    description_->setPlainText(fromUtf8(remote::settingDescriptionText(setting)));
}

void CConfigurePunkBusterServerOptions::appendSetting(std::size_t row) {
    const auto table = remote::antiCheatSettings();
    if (row >= table.size() || !text_->isEnabled())
        return;
    const QString line = fromUtf8(remote::appendedSettingLine(table[row]));
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    const int start = cursor.position();
    cursor.insertText(line);
    // From the start of the appended line's text to the end, so that typing replaces the setting line.
    cursor.setPosition(start + 1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    text_->setTextCursor(cursor);
    text_->ensureCursorVisible();
}

void CConfigurePunkBusterServerOptions::save() {
    if (busy_ || !text_->isEnabled())
        return;
    const std::string bytes = remote::fileTextFromEditor(text_->toPlainText().toStdString());
    if (std::optional<std::size_t> line = remote::endMarkerLine(bytes)) {
        prompter_.showError(this,
                            QStringLiteral("Line %1 begins with \"[EndOfFile]\", which would end the transfer to the "
                                           "server early.  Change that line before saving the configuration.")
                                .arg(*line),
                            QStringLiteral("Configuration Not Sent"));
        return;
    }
    if (!writeFileAtomically(workingCopy(), bytes)) {
        prompter_.showError(this, QStringLiteral("Failure saving configuration file locally."),
                            QStringLiteral("File Save Error"));
        return;
    }
    setBusy(true);
    status_->setText(kContacting);
    const std::string name = remoteName(file_);
    const bool started = runner_->run(
        host_,
        [name](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.uploadPBConfig(object, name.c_str());
        },
        [this](int result) {
            if (closed_)
                return;
            setBusy(false);
            if (result) {
                status_->setText(QStringLiteral("PB configuration updated.  You must stop and restart the server to "
                                                "activate this PB configuration."));
                accept();
            } else {
                status_->setText(kNoResponse);
            }
        });
    if (!started) {
        setBusy(false);
        status_->setText(kNoResponse);
    }
}

void CConfigurePunkBusterServerOptions::done(int result) {
    closed_ = true;
    unsetCursor();
    QDialog::done(result);
}

} // namespace kv::manager::ui
