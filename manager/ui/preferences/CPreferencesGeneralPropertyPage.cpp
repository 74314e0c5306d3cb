#include "manager/ui/preferences/CPreferencesGeneralPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The settings store keeps texts of up to this many characters.
constexpr int kFieldLimit = 4096;

struct CheckRow {
    const char* name;
    const char* text;
    int core::ManagerSettings::*member;
};

const CheckRow kChecks[] = {
    {"warnOnBlankPlayerPassword", "Warn on blank player (game) password when creating new server setup",
     &core::ManagerSettings::warnOnBlankPlayerPasswordDuringWizard},
    {"showLeagueSelection", "Show League Selection Option when creating server setups",
     &core::ManagerSettings::showLeagueSelection},
    {"includeServerName", "Include Server Name in Server Setup Names (useful when managing multiple servers)",
     &core::ManagerSettings::includeServerNameInSetupNames},
    {"showRunLocalServerHelp", "Show \"Run Local Server\" Instructions when starting server locally.",
     &core::ManagerSettings::showRunLocalServerHelp},
    {"enableMapCheck", "Enable Client Map Verification for New Setups", &core::ManagerSettings::securityEnableMapCheck},
    {"enableCodeCheck", "Enable Client Code Verification for New Setups",
     &core::ManagerSettings::securityEnableCodeCheck},
};

struct FieldRow {
    const char* name;
    const char* label;
    std::string core::ManagerSettings::*member;
};

const FieldRow kFields[] = {
    {"defAdminName", "Default Admin Name:", &core::ManagerSettings::defAdminName},
    {"defAdminEmail", "Default Admin E-Mail Address:", &core::ManagerSettings::defAdminEmail},
    {"defAdminPassword", "Default Admin Password:", &core::ManagerSettings::defAdminPassword},
    {"defServerName", "Default Server Name:", &core::ManagerSettings::defServerName},
};

} // namespace

CPreferencesGeneralPropertyPage::CPreferencesGeneralPropertyPage(const core::ManagerContext& context,
                                                                 gui::Prompter& prompter, gui::DesktopServices& desktop,
                                                                 QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kOptions, parent) {
    const core::ManagerSettings& settings = context.settings;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const FieldRow& f : kFields) {
        auto* edit = new QLineEdit(qs(settings.*f.member), this);
        edit->setObjectName(QString::fromUtf8(f.name));
        edit->setMaxLength(kFieldLimit);
        edit->setCursorPosition(0);
        grid->addWidget(new QLabel(QString::fromUtf8(f.label), this), row, 0);
        grid->addWidget(edit, row++, 1, 1, 3);
    }
    field("defAdminPassword")->setEchoMode(QLineEdit::PasswordEchoOnEdit);

    auto* note = new QLabel(QStringLiteral("IMPORTANT: It is often best to leave the Admin E-Mail address blank since "
                                           "anyone with a third-party server browser will have the ability to read "
                                           "this information."),
                            this);
    note->setObjectName(QStringLiteral("emailNote"));
    note->setWordWrap(true);
    grid->addWidget(note, row++, 0, 1, 4);

    auto* location = new QLineEdit(qs(settings.serverLocation), this);
    location->setObjectName(QStringLiteral("serverLocation"));
    location->setMaxLength(kFieldLimit);
    location->setCursorPosition(0);
    auto* browse = new QPushButton(QStringLiteral("Browse"), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    auto* byDefault = new QPushButton(QStringLiteral("Default"), this);
    byDefault->setObjectName(QStringLiteral("defaultLocation"));
    byDefault->setAutoDefault(false);
    byDefault->setEnabled(!context.installation.systemFolder().empty());
    grid->addWidget(new QLabel(QStringLiteral("KV Server Program Location:"), this), row, 0);
    grid->addWidget(location, row, 1);
    grid->addWidget(browse, row, 2);
    grid->addWidget(byDefault, row++, 3);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addSpacing(8);

    for (const CheckRow& c : kChecks) {
        auto* box = new QCheckBox(QString::fromUtf8(c.text), this);
        box->setObjectName(QString::fromUtf8(c.name));
        box->setChecked(settings.*c.member != 0);
        layout->addWidget(box);
    }
    layout->addStretch();

    connect(browse, &QPushButton::clicked, this, gui::guarded([this](bool) { browseProgramLocation(); }));
    connect(byDefault, &QPushButton::clicked, this, gui::guarded([this](bool) { defaultProgramLocation(); }));
}

QLineEdit* CPreferencesGeneralPropertyPage::field(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

QCheckBox* CPreferencesGeneralPropertyPage::check(const char* objectName) const {
    return findChild<QCheckBox*>(QString::fromUtf8(objectName));
}

QPushButton* CPreferencesGeneralPropertyPage::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void CPreferencesGeneralPropertyPage::store(core::ManagerSettings& settings) const {
    for (const FieldRow& f : kFields)
        settings.*f.member = field(f.name)->text().toStdString();
    settings.serverLocation = field("serverLocation")->text().toStdString();
    for (const CheckRow& c : kChecks)
        settings.*c.member = check(c.name)->isChecked() ? 1 : 0;
}

void CPreferencesGeneralPropertyPage::browseProgramLocation() {
    QLineEdit* location = field("serverLocation");
    const QString chosen =
        prompter_.openFileName(this, QStringLiteral("Locate Korvane Server.exe Program"), location->text(),
                               QStringLiteral("KV Server Program (server.bin);;All Files (*)"));
    if (chosen.isEmpty())
        return;
    // The chosen file's folder: its path without the file name and the slash before it ("/" for the root).
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return;
    location->setText(slash == 0 ? QStringLiteral("/") : chosen.left(slash));
    location->setCursorPosition(0);
}

void CPreferencesGeneralPropertyPage::defaultProgramLocation() {
    const std::string system = context_.installation.systemFolder();
    if (system.empty())
        return;
    field("serverLocation")->setText(qs(system));
    field("serverLocation")->setCursorPosition(0);
}

} // namespace kv::manager::ui
