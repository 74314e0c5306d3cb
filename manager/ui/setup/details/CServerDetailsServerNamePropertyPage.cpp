#include "manager/ui/setup/details/CServerDetailsServerNamePropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>

namespace kv::manager::ui {

namespace {

const QString kPasswordSymbols = QStringLiteral("-_$!%@+");

} // namespace

CServerDetailsServerNamePropertyPage::CServerDetailsServerNamePropertyPage(
    setups::ServerSetup& setup, gui::Prompter& prompter, std::function<bool(const std::string&)> nameInUse,
    QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("general"), parent), nameInUse_(std::move(nameInUse)) {
    auto* form = new QFormLayout(this);
    name_ = addText(form, "Server Setup Name:", setup.m_csName, "setupName");
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("setupDescription"));
    description_->setTabChangesFocus(true);
    description_->setMaximumHeight(70);
    form->addRow(QStringLiteral("Setup Description:"), description_);
    bindings_.lines(description_, setup.m_csSetupDescription);
    addText(form, "Server Name:", setup.m_csServerName, "serverName");
    addText(form, "Short Server Name:", setup.m_csShortName, "shortName");
    addText(form, "Administrator Name:", setup.m_csAdminName, "adminName");
    addText(form, "Administrator E-Mail:", setup.m_csAdminEmail, "adminEmail");
    password_ = addText(form, "Administrator Password:", setup.m_csAdminPassword, "adminPassword");
    connect(password_, &QLineEdit::editingFinished, this, gui::guarded([this] { checkAdminPassword(); }));

    QComboBox* admins = addList(form, "Maximum Administrators:", "maxAdmins");
    choices::addNumbers(admins, 1, 6);
    bindings_.choice(admins, setup.m_iMaxAdmins, choices::number);
    auto* port = new QLineEdit(this);
    port->setObjectName(QStringLiteral("serverPort"));
    port->setValidator(new QIntValidator(1, 65535, port));
    form->addRow(QStringLiteral("Server Port:"), port);
    bindings_.number(port, setup.m_iServerPort);
    QComboBox* region = addList(form, "Server Region:", "serverRegion");
    for (int i = 0; i < setups::kRegionCount; ++i) {
        const std::string_view name = setups::regionName(i);
        region->addItem(fieldText(std::string(name)), i);
    }
    bindings_.choice(region, setup.m_iServerRegion, choices::number);
    QComboBox* chat = addList(form, "Player Chat Logging Level:", "logChatLevel");
    int level = 0;
    for (const char* word :
         {"Logging Disabled", "Basic Chat Text only", "Admin Actions and Chat Text", "System, Admin, and Chat Text"})
        choices::addWord(chat, QString::fromUtf8(word), level++);
    bindings_.choice(chat, setup.m_iLogChatLevel, choices::number);
    QComboBox* delay = addList(form, "Delayed Start After Spawn Time:", "delayedStart");
    choices::addWord(delay, QStringLiteral("No Delay (2.8.2 and earlier start)"), 0);
    for (int s = 5; s <= 15; ++s)
        choices::addWord(delay, QStringLiteral("%1 seconds").arg(s), s);
    bindings_.choice(delay, setup.m_iDelayedRoundStartTimeSeconds,
                     [](int s) { return QStringLiteral("%1 seconds").arg(s); });

    addFlag(form, "Enable statistics logging", setup.m_fEnableStatLogging, "statLogging");
    addFlag(form, "Players must be authorized to join", setup.m_fRequireAuthorization, "requireAuthorization");
    addFlag(form, "Server browser network address translation support", setup.m_fGSNATEnabled, "gsNat");
    addFlag(form, "Disable ES2", setup.m_fDisableESS, "disableEss");

    auto* network = new QHBoxLayout;
    internet_ = new QRadioButton(QStringLiteral("Internet"), this);
    internet_->setObjectName(QStringLiteral("internet"));
    lan_ = new QRadioButton(QStringLiteral("LAN"), this);
    lan_->setObjectName(QStringLiteral("lan"));
    auto* group = new QButtonGroup(this);
    group->addButton(internet_);
    group->addButton(lan_);
    network->addWidget(internet_);
    network->addWidget(lan_);
    network->addStretch();
    form->addRow(QStringLiteral("Server Network Type:"), network);
    bindings_.custom([this, &setup] { (setup.m_fLANOnly ? lan_ : internet_)->setChecked(true); },
                     [this, &setup] { setup.m_fLANOnly = lan_->isChecked() ? 1 : 0; },
                     [this] { return QVariant(lan_->isChecked()); });
    addText(form, "Multi-homed server address:", setup.m_csMultiHomedServerIP, "multiHomedIp");
    addText(form, "Server browser address:", setup.m_csGamespyBrowserServerIP, "gamespyIp");
    QCheckBox* demo = addFlag(form, "Demonstration showcase mode", setup.m_fDemoShowcaseMode, "demoShowcase");
    // The Internet choice turns the showcase mode off; it is a LAN setting.
    connect(internet_, &QRadioButton::toggled, this, gui::guarded([demo](bool on) {
                if (on)
                    demo->setChecked(false);
                demo->setEnabled(!on);
            }));
}

bool CServerDetailsServerNamePropertyPage::passwordHasRefusedSymbol() {
    const QString password = password_->text();
    if (!password.contains(u'#') && !password.contains(u'?'))
        return false;
    prompter_.showError(this,
                        QStringLiteral("You may not use the \"#\" or the \"?\" symbols in your password.\n\nYou can "
                                       "use the \"-\", \"_\", \"$\", \"!\", \"%\", \"%\", \"@\", and \"+\" symbols in "
                                       "your password to make them more secure."),
                        QStringLiteral("Invalid Password Symbol."));
    password_->setFocus();
    return true;
}

void CServerDetailsServerNamePropertyPage::checkAdminPassword() {
    if (passwordHasRefusedSymbol())
        return;
    const QString password = password_->text();
    const bool symbol =
        std::any_of(password.begin(), password.end(), [](QChar c) { return kPasswordSymbols.contains(c); });
    if (password.size() < 4 || !symbol)
        prompter_.showInformation(
            this,
            QStringLiteral("The administrator password you entered is not very secure.\n\nPlease use at least four "
                           "characters and include at least one symbol such as \"-\", \"_\", \"$\", \"!\", \"%\", "
                           "\"%\", \"@\", or \"+\" ."),
            QStringLiteral("Administrator Password Not Entered"));
}

bool CServerDetailsServerNamePropertyPage::check() {
    const QString name = name_->text();
    const QString caption = QStringLiteral("Invalid Server Setup");
    QString refusal;
    // A name that came with the file is only checked for a clash: the characters rule is for names typed here.
    const bool typed = name != fieldText(setup_.m_csName);
    if (name.isEmpty())
        refusal = QStringLiteral("You must enter a name for this server setup.");
    else if (typed && name.contains(QRegularExpression(QStringLiteral("[./\\\\,:]"))))
        refusal = QStringLiteral("You may not include periods (\".\"), forward slashes (\"/\"), backslashes "
                                 "(\"\\\\\"), commas (\",\"), or colons (\":\") in a server setup name.  Please "
                                 "change the name.");
    if (!refusal.isEmpty()) {
        prompter_.showError(this, refusal, caption);
        name_->setFocus();
        return false;
    }
    if (nameInUse_ && nameInUse_(fieldBytes(name))) {
        prompter_.showError(this,
                            QStringLiteral("The name you selected for this server setup is already in use.  Please "
                                           "enter another name."),
                            QStringLiteral("Server Setup Name Already In Use"));
        name_->setFocus();
        return false;
    }
    return !passwordHasRefusedSymbol();
}

} // namespace kv::manager::ui
