#include "agent/ui/CKVServerRemoteControlDlg.h"

#include "agent/ui/AgentRunControl.h"
#include "agent/ui/AgentRunLines.h"
#include "agent/ui/CConfigureDlg.h"
#include "agent/ui/ConfigureValues.h"

#include "agent/Agent.h"
#include "agent/GameServerRun.h"
#include "agent/SettingsFile.h"
#include "manager/core/GameInstallation.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include "common/Files.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kv::agent::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

void setIfChanged(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
        field->setCursorPosition(0);
    }
}

} // namespace

CKVServerRemoteControlDlg::CKVServerRemoteControlDlg(Agent& agent, gui::Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), agent_(agent), prompter_(prompter) {
    setWindowTitle(
        QStringLiteral("KV Server Manager Remote Control Utility Version %1").arg(QString::fromUtf8(kVersionText)));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    auto addPair = [&](const char* label, const char* name, const char* initial = "") {
        auto* caption = new QLabel(QString::fromUtf8(label), central);
        auto* value = new QLineEdit(QString::fromUtf8(initial), central);
        value->setObjectName(QString::fromUtf8(name));
        value->setReadOnly(true);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row++, 1);
        return caption;
    };
    addPair("Admin Name:", "adminName");
    addPair("Server IP:", "serverIp");
    addPair("Server Up Time:", "upTime", "N/A");
    failuresLabel_ = addPair("Server Failures:", "failures");
    memoryLabel_ = addPair("Server Memory Usage (Now/Peak):", "memoryUsage", "N/A");
    pagingLabel_ = addPair("Paging Usage (Now/Peak):", "pagingUsage", "N/A");
    addPair("Active Server Setup:", "activeSetup");
    addPair("Current Map:", "currentMap");
    addPair("Server Status:", "serverStatus");
    grid->addWidget(new QLabel(QStringLiteral("Server Command:"), central), row, 0, Qt::AlignTop);
    command_ = new QPlainTextEdit(central);
    command_->setObjectName(QStringLiteral("serverCommand"));
    command_->setReadOnly(true);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(8);
    command_->setFont(arial);
    command_->setFixedHeight(QFontMetrics(arial).lineSpacing() * 4 + 10);
    grid->addWidget(command_, row++, 1);
    grid->setColumnStretch(1, 1);

    auto* group = new QGroupBox(QStringLiteral("Remote KVSM Access Log"), central);
    auto* groupLayout = new QVBoxLayout(group);
    accessLog_ = new QListWidget(group);
    accessLog_->setObjectName(QStringLiteral("accessLog"));
    accessLog_->setUniformItemSizes(true); // one line each: adding a line does not lay out the whole list
    groupLayout->addWidget(accessLog_);
    layout->addWidget(group, 1);

    restart_ = new QPushButton(QStringLiteral("Restart Server Now"), central);
    restart_->setObjectName(QStringLiteral("restartServerNow"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(restart_);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    setCentralWidget(central);
    buildMenus();

    connect(restart_, &QPushButton::clicked, this, gui::guarded([this](bool) { restartServerNow(); }));
    connect(&agent_, &Agent::displayChanged, this, gui::guarded([this] { showState(); }));
    connect(&agent_, &Agent::runChanged, this, gui::guarded([this](GameServerRun* run) { onRunChanged(run); }));
    connect(&agent_.accessLog(), &AccessLog::lineAppended, this,
            gui::guarded([this](const QString& line) { addAccessLine(line); }));
    for (const std::string& line : agent_.accessLog().lines())
        addAccessLine(qs(line));
    if (agent_.run())
        onRunChanged(agent_.run());
    showState();
    resize(620, 560);
}

CKVServerRemoteControlDlg::~CKVServerRemoteControlDlg() {
    // The core outlives this window: it must not call back into it while the monitor window ends the run.
    disconnect(&agent_, nullptr, this, nullptr);
    disconnect(&agent_.accessLog(), nullptr, this, nullptr);
    monitor::CMonitorServerOutputWnd* monitor = monitor_.data();
    monitor_ = nullptr;
    delete monitor;
}

monitor::CMonitorServerOutputWnd* CKVServerRemoteControlDlg::monitorWindow() const {
    return monitor_.data();
}

void CKVServerRemoteControlDlg::buildMenus() {
    auto addAction = [this](QMenu* menu, const char* text, const char* name, auto action) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, gui::guarded([action](bool) { action(); }));
        return a;
    };
    QMenu* server = menuBar()->addMenu(QStringLiteral("Server"));
    addAction(server, "Select Setup", "selectSetup", [this] { selectSetup(); });
    server->addSeparator();
    addAction(server, "Exit", "exit", [this] { close(); });
    QAction* options = menuBar()->addAction(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("options"));
    connect(options, &QAction::triggered, this, gui::guarded([this](bool) { openOptions(); }));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    addAction(help, "Korvane Server Manager Support Website", "supportWebsite", [this] { openSupportWebsite(); });
    addAction(help, "KVSM Remote Control Utility Manual (pdf)", "manual", [this] { openManual(); });
    help->addSeparator();
    addAction(help, "&About KV Server Remote Control...", "about", [this] { showAbout(); });
}

QLineEdit* CKVServerRemoteControlDlg::valueField(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

void CKVServerRemoteControlDlg::showState() {
    const AgentDisplay d = agent_.display();
    const AgentSettings s = agent_.settings().snapshot();
    setIfChanged(valueField("adminName"), qs(s.adminName));
    setIfChanged(valueField("serverIp"), s.serverIp.empty() ? QStringLiteral("Single IP System") : qs(s.serverIp));
    setIfChanged(valueField("upTime"), qs(d.upTime));
    setIfChanged(valueField("failures"), qs(d.failures));
    setIfChanged(valueField("memoryUsage"), qs(d.memoryUsage));
    setIfChanged(valueField("pagingUsage"), qs(d.pagingUsage));
    setIfChanged(valueField("activeSetup"), qs(d.activeSetup));
    setIfChanged(valueField("currentMap"), qs(d.currentMap));
    setIfChanged(valueField("serverStatus"), qs(d.statusText));
    if (command_->toPlainText() != qs(d.commandLine))
        command_->setPlainText(qs(d.commandLine));
    const bool failures = agent_.showFailures();
    failuresLabel_->setVisible(failures);
    valueField("failures")->setVisible(failures);
    for (QLabel* label : {memoryLabel_, pagingLabel_})
        label->setVisible(s.showMemoryUsage);
    valueField("memoryUsage")->setVisible(s.showMemoryUsage);
    valueField("pagingUsage")->setVisible(s.showMemoryUsage);
}

void CKVServerRemoteControlDlg::addAccessLine(const QString& line) {
    if (accessLog_->count() > static_cast<int>(AccessLog::kMaxLines)) {
        for (std::size_t i = 0; i < AccessLog::kDropCount; ++i)
            delete accessLog_->takeItem(0);
    }
    accessLog_->addItem(line);
    accessLog_->scrollToBottom();
}

void CKVServerRemoteControlDlg::onRunChanged(GameServerRun* run) {
    if (monitor_) {
        monitor::CMonitorServerOutputWnd* old = monitor_.data();
        monitor_ = nullptr;
        old->closeWithoutAsking();
    }
    if (!run || run->closed())
        return;
    monitor::MonitorOptions options = monitor::MonitorOptions::forAgent(run->setupName());
    options.clock = agent_.environment().clock;
    auto* lines = new AgentRunLines(agent_, run);
    auto* control = new AgentRunControl(agent_, run);
    auto* window = new monitor::CMonitorServerOutputWnd(*lines, control, options, prompter_);
    lines->setParent(window);
    control->setParent(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const std::string ip = agent_.settings().snapshot().serverIp;
    window->setWindowTitle(QStringLiteral("Monitoring Server Running %1%2")
                               .arg(qs(run->setupName()), ip.empty() ? QString() : QStringLiteral(" IP: ") + qs(ip)));
    window->setGeometry(10, 10, 490, 290);
    monitor_ = window;
    window->show();
}

void CKVServerRemoteControlDlg::selectSetup() {
    const QString chosen = prompter_.openFileName(this, QStringLiteral("Select Setup"),
                                                  qs(joinPath(agent_.environment().workDir, "Configurations")),
                                                  QString::fromUtf8(CConfigureDlg::kControlFilter));
    if (chosen.isEmpty())
        return;
    // Only the name counts: the file is always looked up in Configurations.
    std::string title =
        configure_values::cleanValue("ActiveControlFile", QFileInfo(chosen).completeBaseName().toStdString());
    title.resize(std::min(title.size(), configure_values::maxValueLength("ActiveControlFile") - 8));
    agent_.selectControlFile(title + ".Control");
    showState();
}

void CKVServerRemoteControlDlg::openOptions() {
    const AgentEnvironment& env = agent_.environment();
    const ConfigureValues initial = ConfigureValues::fromSettings(
        agent_.settings().snapshot(), core::findGameInstallation(env.systemGameSettings, env.userGameSettings).folder);
    CConfigureDlg dialog(initial, joinPath(env.workDir, "Configurations"), prompter_, this);
    if (prompter_.runDialog(dialog))
        applyOptions(dialog.values());
}

void CKVServerRemoteControlDlg::applyOptions(const ConfigureValues& values) {
    bool controlChanged = false;
    agent_.settings().update(
        [&](AgentSettings& s) { controlChanged = configure_values::applyBeforeRestart(values, s); });
    if (controlChanged)
        agent_.serverControl(true); // ends the current run first
    agent_.settings().update([&](AgentSettings& s) { configure_values::applyAfterRestart(values, s); });
    if (!agent_.saveSettings())
        prompter_.showError(this, QString::fromUtf8(settings_file::kSaveFailedText),
                            QString::fromUtf8(settings_file::kSaveFailedCaption));
    showState();
}

void CKVServerRemoteControlDlg::restartServerNow() {
    agent_.requestRestart();
}

void CKVServerRemoteControlDlg::showAbout() {
    QString text = QStringLiteral("Korvane Server Manager\nRemote Control Utility Version %1")
                       .arg(QString::fromUtf8(kVersionText));
    // What an administrator compares with what a client shows on its first contact.
    const AgentEnvironment& env = agent_.environment();
    if (env.identity) {
        // Two rows of sixteen byte pairs, which the message box would otherwise wrap anywhere.
        QString fingerprint = qs(env.identity->fingerprint);
        if (fingerprint.size() > 48)
            fingerprint.insert(48, QLatin1Char('\n'));
        text += QStringLiteral("\n\nAgent identity (SHA-256 fingerprint):\n%1").arg(fingerprint);
    } else if (!env.identityProblem.empty())
        text += QStringLiteral("\n\nAgent identity: none (%1)").arg(qs(env.identityProblem));
    prompter_.showInformation(this, text, QStringLiteral("About KV Server Remote Control"));
}

void CKVServerRemoteControlDlg::openSupportWebsite() {
    prompter_.openUrl(QUrl(QString::fromUtf8(kSupportUrl)));
}

void CKVServerRemoteControlDlg::openManual() {
    prompter_.openUrl(QUrl::fromLocalFile(qs(joinPath(agent_.environment().workDir, kManualFile))));
}

void CKVServerRemoteControlDlg::closeEvent(QCloseEvent* event) {
    // "Exit": the settings are saved and the server is stopped before the window goes. Settings that cannot be
    // written are told once, with the box administrators know; the agent ends with what it holds in memory.
    const bool first = !agent_.shuttingDown();
    if (!agent_.shutDown() && first)
        prompter_.showError(this, QString::fromUtf8(settings_file::kSaveFailedText),
                            QString::fromUtf8(settings_file::kSaveFailedCaption));
    if (monitor_)
        monitor_->closeWithoutAsking();
    event->accept();
    QCoreApplication::quit(); // the agent ends with its main window, whatever other window is still open
}

} // namespace kv::agent::ui
