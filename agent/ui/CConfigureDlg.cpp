#include "agent/ui/CConfigureDlg.h"

#include "agent/AdminPassword.h"
#include "agent/ui/CConfigurePasswordDlg.h"
#include "agent/ui/ConfigureHelp.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kv::agent::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString hourText(int hour) {
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1 %2").arg(twelve).arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

} // namespace

QLineEdit* CConfigureDlg::addField(const char* name, const char* key) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setMaxLength(static_cast<int>(configure_values::maxValueLength(key)));
    edit->setMinimumWidth(260);
    return edit;
}

CConfigureDlg::CConfigureDlg(const ConfigureValues& initial, std::string configurationsFolder, gui::Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent), configurations_(std::move(configurationsFolder)), prompter_(prompter),
      password_(initial.password) {
    setWindowTitle(QStringLiteral("Configure KVSM Remote Control Utility"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto label = [&](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    grid->addWidget(label("Fill in the fields below to configure the KVSM Remote Control Utility"), row++, 0, 1, 3);

    QLineEdit* ip = addField("serverIp", "ServerIP");
    configure_help::attach(ip, configure_help::serverIp());
    grid->addWidget(label("Server IP:"), row, 0);
    grid->addWidget(ip, row, 1);
    grid->addWidget(label("(Leave blank for single IP system)"), row++, 2);

    QLineEdit* admin = addField("adminName", "AdminName");
    configure_help::attach(admin, configure_help::adminName());
    auto* change = new QPushButton(QStringLiteral("Change Password"), this);
    change->setObjectName(QStringLiteral("changePassword"));
    configure_help::attach(change, configure_help::password(true));
    grid->addWidget(label("Remote Control Administrator Name:"), row, 0);
    grid->addWidget(admin, row, 1);
    grid->addWidget(change, row++, 2);

    QLabel* note = label(configure_help::honorNote().c_str());
    note->setWordWrap(true);
    grid->addWidget(note, row++, 0, 1, 3);
    const struct {
        const char* name;
        const char* key;
        const char* text;
        const char* field;
    } honor[] = {{"honorUserName", "HonorServerUserName", "Honor Server User Name:", "Honor Server User Name"},
                 {"honorPassword", "HonorServerPassword", "Honor Server Password:", "Honor Server Password"},
                 {"honorIp", "HonorServerIP", "Honor Server IP Address:", "Honor Server IP Address"}};
    for (const auto& h : honor) {
        QLineEdit* edit = addField(h.name, h.key);
        configure_help::attach(edit, configure_help::honorField(h.field));
        grid->addWidget(label(h.text), row, 0);
        grid->addWidget(edit, row++, 1);
    }

    QLineEdit* folder = addField("gameFolder", "GameServerPath");
    configure_help::attach(folder, configure_help::gameFolder());
    grid->addWidget(label("Path to Game Install Dir:"), row, 0);
    grid->addWidget(folder, row++, 1, 1, 2);

    QLineEdit* control = addField("controlFile", "ActiveControlFile");
    control->setReadOnly(true);
    configure_help::attach(control, configure_help::controlFile());
    auto* select = new QPushButton(QStringLiteral("Select"), this);
    select->setObjectName(QStringLiteral("select"));
    configure_help::attach(select, configure_help::selectButton());
    grid->addWidget(label("Active Server Control File:"), row, 0);
    grid->addWidget(control, row, 1);
    grid->addWidget(select, row++, 2);

    auto* restart = new QCheckBox(QStringLiteral("Automatically Restart Server at:"), this);
    restart->setObjectName(QStringLiteral("autoRestart"));
    hour_ = new QComboBox(this);
    hour_->setObjectName(QStringLiteral("restartHour"));
    for (int h = 0; h < 24; ++h)
        hour_->addItem(hourText(h));
    grid->addWidget(restart, row, 0);
    grid->addWidget(hour_, row++, 1, Qt::AlignLeft);

    auto* memory = new QCheckBox(QStringLiteral("Show Memory Usage"), this);
    memory->setObjectName(QStringLiteral("showMemoryUsage"));
    configure_help::attach(memory, configure_help::showMemoryUsage());
    grid->addWidget(memory, row++, 0, 1, 3);
    auto* csv = new QCheckBox(QStringLiteral("Create Comma Separated File Format Memory Usage Log"), this);
    csv->setObjectName(QStringLiteral("createCsvMemoryLog"));
    configure_help::attach(csv, configure_help::csvMemoryLog());
    grid->addWidget(csv, row++, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setObjectName(QStringLiteral("save"));
    saveButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(saveButton);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    ip->setText(qs(initial.serverIp));
    admin->setText(qs(initial.adminName));
    field("honorUserName")->setText(qs(initial.honorServerUserName));
    field("honorPassword")->setText(qs(initial.honorServerPassword));
    field("honorIp")->setText(qs(initial.honorServerIp));
    folder->setText(qs(initial.gameFolder));
    control->setText(qs(initial.controlFile));
    restart->setChecked(initial.autoRestart);
    hour_->setCurrentIndex(configure_values::restartHourFor(initial.restartHour * 60));
    memory->setChecked(initial.showMemoryUsage);
    csv->setChecked(initial.createCsvMemoryLog);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setCursorPosition(0);

    connect(change, &QPushButton::clicked, this, gui::guarded([this](bool) { changePassword(); }));
    connect(select, &QPushButton::clicked, this, gui::guarded([this](bool) { selectControlFile(); }));
    connect(saveButton, &QPushButton::clicked, this, gui::guarded([this](bool) { save(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* CConfigureDlg::field(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

QCheckBox* CConfigureDlg::check(const char* objectName) const {
    return findChild<QCheckBox*>(QString::fromUtf8(objectName));
}

QPushButton* CConfigureDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

ConfigureValues CConfigureDlg::values() const {
    ConfigureValues v;
    v.serverIp = field("serverIp")->text().toStdString();
    v.adminName = field("adminName")->text().toStdString();
    v.password = password_;
    v.honorServerUserName = field("honorUserName")->text().toStdString();
    v.honorServerPassword = field("honorPassword")->text().toStdString();
    v.honorServerIp = field("honorIp")->text().toStdString();
    v.gameFolder = configure_values::withoutTrailingSlash(field("gameFolder")->text().toStdString());
    v.controlFile = field("controlFile")->text().toStdString();
    v.autoRestart = check("autoRestart")->isChecked();
    v.restartHour = std::max(0, hour_->currentIndex());
    v.showMemoryUsage = check("showMemoryUsage")->isChecked();
    v.createCsvMemoryLog = check("createCsvMemoryLog")->isChecked();
    return v;
}

void CConfigureDlg::changePassword() {
    CConfigurePasswordDlg dialog(prompter_, this);
    if (!prompter_.runDialog(dialog))
        return;
    const std::string password = dialog.password();
    // Empty keeps the current password; anything else must be one that a remote login can use.
    if (const std::string problem = admin_password::problemWith(password); !password.empty() && !problem.empty()) {
        prompter_.showError(this, QString::fromStdString("The password was not changed: " + problem + "."),
                            QStringLiteral("Password Not Changed"));
        return;
    }
    password_ = password;
}

void CConfigureDlg::selectControlFile() {
    const QString chosen = prompter_.openFileName(this, QStringLiteral("Select Setup"), qs(configurations_),
                                                  QString::fromUtf8(kControlFilter));
    if (chosen.isEmpty())
        return;
    field("controlFile")->setText(QFileInfo(chosen).completeBaseName() + QStringLiteral(".Control"));
}

bool CConfigureDlg::save() {
    if (!configure_values::gameFolderLooksRight(field("gameFolder")->text().toStdString())) {
        prompter_.showError(
            this,
            QStringLiteral("The path you have entered does not appear to be correct.  Please enter the exact path to "
                           "the folder where Korvane is installed or leave this field blank to allow the KV Server "
                           "Remote Control Utility to automatically locate the Korvane installation folder."),
            QStringLiteral("Korvane Game Folder Not Found"));
        return false;
    }
    accept();
    return true;
}

} // namespace kv::agent::ui
