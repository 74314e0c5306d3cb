#include "manager/ui/remote/CServerRemoteControlDlg.h"

#include "client/RemoteControlLibrary.h"
#include "common/Files.h"
#include "gui/DesktopServices.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/GameClientProcess.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteRunner.h"
#include "manager/ui/remote/CRemoteServerConfigureAutoRestartDlg.h"
#include "manager/ui/remote/RemoteControlTexts.h"
#include "manager/ui/remote/RemoteFeedSource.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace texts = remote_texts;

namespace {

constexpr int kTipDuration = 600000;

constexpr const char* kNotFoundStatus = "KVSM Remote Control Utility not found on remote server";
constexpr const char* kNotRunningSummary =
    "The KVSM Server Remote Control Utility is not running on the server you specified.";
constexpr const char* kNotFoundCaption = "KVSM Remote Control Utility Not Found";
constexpr const char* kNotFoundText =
    "The server you selected does not appear to be running the \"KV Server Manager Remote Control Utility\" program.  "
    "You must install the \"KV Server Manager Remote Control Utility\" before trying to remotely control an Korvane "
    "server.\n\nInstructions for installing the utility are available in the \"Start, Programs, KV Server Manager, "
    "Getting Started With the KVSM Remote Control Utility\" menu command.";
constexpr const char* kNoSetupSummary =
    "No server setup selected.  Use the \"Manage Server Setups\" button to select and start a server setup.";
constexpr const char* kControlProblem =
    "A problem was detected trying to control the server - communications could not be established properly.";

// A login that the agent refused, and an agent that did not present the identity recorded for it: not the same as
// an agent that is not there, and administrators need to know which.
constexpr const char* kRefusedStatus = "Login refused by the KVSM Remote Control Utility";
constexpr const char* kRefusedSummary =
    "The KVSM Server Remote Control Utility on this server refused the admin name or password.";
constexpr const char* kRefusedCaption = "KVSM Remote Control Login Refused";
constexpr const char* kRefusedText =
    "The KV Server Manager Remote Control Utility on the server you selected refused the admin name or password.  "
    "Check the login with \"Edit Server\" in \"Manage Remote Servers\" and in the utility's settings on the "
    "server.\n\nLast message: %1";
constexpr const char* kUntrustedStatus = "KVSM Remote Control Utility identity not trusted";
constexpr const char* kUntrustedSummary = "The KVSM Server Remote Control Utility on this server did not present the "
                                          "identity recorded for it, so nothing was sent to it.";
constexpr const char* kChangedCaption = "KVSM Remote Control Utility Identity Changed";
constexpr const char* kChangedText =
    "The identity of the KV Server Manager Remote Control Utility at %1 has changed, so nothing was sent to it, not "
    "even the password.\n\nRecorded: %2\nPresented now: %3\n\nSomeone may be posing as the utility, or it was given "
    "a new identity (a new machine, a reinstall, kvagent --new-identity).  Run \"kvagent --fingerprint\" on that "
    "server; if it prints the fingerprint presented now, trust it with \"kvsm remote trust\" and open this window "
    "again.";
constexpr const char* kUntrustedCaption = "KVSM Remote Control Utility Not Trusted";
// The library's status text while it waits for the agent's verdict on the login.
constexpr const char* kLoggingIn = "Logging in to Server Remote Control Utility";
constexpr int kRefused = -1; // beside the KVSM_AGENT_* outcomes

constexpr const char* kStopTip = "Click here to stop the server.";
constexpr const char* kStartTip =
    "Click here to start the server if you have already selected a server setup.  If this is unavailable you must "
    "select a server setup first.\n\nNote: If the server has a problem and stops by itself it will automatically be "
    "restarted.";
constexpr const char* kAntiCheatTip =
    "This allow you to perform several PunkBuster (tm) related actions including reviewing PB Screenshots, PB Logs, "
    "and configuring the PB Server options.";
constexpr const char* kNoSetupsTip = "Not available: this version cannot manage the server setups of a remote server.";

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

struct Push {
    const char* name;
    const char* text;
    const char* tip;
};

// In the designed order; the action buttons start disabled.
constexpr Push kPushes[] = {
    {"startStop", "Start Server", nullptr},
    {"monitor", "Monitor Server", "Use this to open a server monitor window that will show you the server output"},
    {"pbOptions", "PB Options", kAntiCheatTip},
    {"adminInGame", "Admin In-Game",
     "This will start Korvane and automatically connect to this server as an administrator if you have Korvane "
     "installed."},
    {"playGame", "Play Game",
     "This will start Korvane and automatically connect to this server as a player if you have Korvane installed."},
    {"manageSetups", "Manage Server Setups",
     "Click here to add or remove server setups to/from the server and switch the active server setup."},
    {"banList", "Ban List", nullptr},
    {"configRestart", "Config Restart", nullptr},
    {"close", "Close", nullptr},
    {"help", "Help", nullptr},
};

int getStatus(const RemoteControlLibrary& library, KvsmRemoteObject* object, RemoteServerStatus& s) {
    return library.getServerStatus(object, &s.currentSetup, &s.status, &s.startingMap, &s.description,
                                   &s.gameAdminPassword, &s.gamePlayerPassword, &s.totalUpTime, &s.crashes,
                                   &s.currentRamK, &s.peakRamK);
}

} // namespace

CServerRemoteControlDlg::CServerRemoteControlDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                                 gui::DesktopServices& desktop, remote::RemoteServerEntry entry,
                                                 RemoteControlOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), prompter_(prompter), desktop_(desktop), entry_(std::move(entry)),
      options_(std::move(options)) {
    setObjectName(QStringLiteral("remoteControl"));
    setWindowTitle(QStringLiteral("Server Remote Control - %1").arg(qs(entry_.serverName)));
    runner_ = new remote::RemoteRunner(context_.remoteLibrary, this);
    prober_ = new core::StatusProber(texts::hostOf(entry_.address), options_.statusPort, options_.statusTiming, this);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(static_cast<int>(options_.refreshInterval.count()));

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    buildFields();
    buildButtons();

    connect(runner_, &remote::RemoteRunner::statusText, this, gui::guarded([this](const QString& text) {
                lastStatusText_ = text.toStdString();
                statusLine_->setText(text);
            }));
    connect(prober_, &core::StatusProber::reportChanged, this,
            gui::guarded([this](const core::StatusReport& report) { showGameStatus(report); }));
    connect(timer_, &QTimer::timeout, this, [this] { gui::guarded([this] { refresh(); })(); });
    resize(760, 640);
}

CServerRemoteControlDlg::~CServerRemoteControlDlg() {
    shutDown();
}

void CServerRemoteControlDlg::buildFields() {
    auto* left = static_cast<QBoxLayout*>(layout()->itemAt(0)->layout());
    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(name));
        edit->setReadOnly(true);
        return edit;
    };
    auto multi = [this](const char* name) {
        auto* edit = new QPlainTextEdit(this);
        edit->setObjectName(QString::fromUtf8(name));
        edit->setReadOnly(true);
        edit->setFont(QFont(QStringLiteral("Verdana"), 7));
        return edit;
    };
    // One grid, so that the labels above and below the boxes share their column.
    auto* grid = new QGridLayout;
    int row = 0;
    auto labelled = [&](const char* label, const char* name) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(line(name), row++, 1);
    };
    labelled("Status:", "status");
    labelled("Server IP:", "serverIp");
    labelled("Server Name:", "serverName");
    labelled("Current Server Setup:", "currentSetup");
    labelled("Starting Map:", "startingMap");
    auto* summaryBox = new QGroupBox(QStringLiteral("Active Server Setup Summary"), this);
    (new QVBoxLayout(summaryBox))->addWidget(multi("summary"));
    grid->addWidget(summaryBox, row, 0, 1, 2);
    grid->setRowStretch(row++, 1);
    auto* detailsBox = new QGroupBox(QStringLiteral("Server Details:"), this);
    (new QVBoxLayout(detailsBox))->addWidget(multi("details"));
    grid->addWidget(detailsBox, row, 0, 1, 2);
    grid->setRowStretch(row++, 1);
    labelled("Server Up Time:", "upTime");
    grid->addWidget(line("memory"), row++, 0, 1, 2);
    labelled("Server Automatic Restart Time:", "restartTime");
    left->addLayout(grid, 1);

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLine_->setTextFormat(Qt::PlainText);
    statusLine_->setMinimumWidth(100);
    left->addWidget(statusLine_);

    field("serverIp")->setText(qs(entry_.address));
    field("serverName")->setText(qs(entry_.serverName));
}

void CServerRemoteControlDlg::buildButtons() {
    auto* right = static_cast<QBoxLayout*>(layout()->itemAt(1)->layout());
    for (const Push& p : kPushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.text), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        b->setToolTipDuration(kTipDuration);
        if (p.tip)
            b->setToolTip(QString::fromUtf8(p.tip));
        const std::string_view name = p.name;
        b->setEnabled(name == "close" || name == "help");
        if (name == "close")
            right->addStretch();
        right->addWidget(b);
    }
    if (!options_.manageSetups)
        button("manageSetups")->setToolTip(QString::fromUtf8(kNoSetupsTip));
    updateStartStopTip();

    connect(button("startStop"), &QPushButton::clicked, this, gui::guarded([this](bool) { startOrStop(); }));
    connect(button("monitor"), &QPushButton::clicked, this, gui::guarded([this](bool) { monitorServer(); }));
    connect(button("adminInGame"), &QPushButton::clicked, this, gui::guarded([this](bool) { adminInGame(); }));
    connect(button("playGame"), &QPushButton::clicked, this, gui::guarded([this](bool) { playGame(); }));
    connect(button("manageSetups"), &QPushButton::clicked, this, gui::guarded([this](bool) { manageServerSetups(); }));
    connect(button("configRestart"), &QPushButton::clicked, this, gui::guarded([this](bool) { configRestart(); }));
    connect(button("banList"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (options_.banList)
                    options_.banList(*this);
            }));
    connect(button("pbOptions"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (options_.antiCheat)
                    options_.antiCheat(*this);
            }));
    connect(button("close"), &QPushButton::clicked, this, gui::guarded([this](bool) { close(); }));
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (options_.help)
                    options_.help(kHelpPage);
            }));
}

monitor::CMonitorServerOutputWnd* CServerRemoteControlDlg::monitorWindow() const {
    return static_cast<monitor::CMonitorServerOutputWnd*>(monitorWindow_.data());
}

QLineEdit* CServerRemoteControlDlg::field(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

QPlainTextEdit* CServerRemoteControlDlg::box(const char* objectName) const {
    return findChild<QPlainTextEdit*>(QString::fromUtf8(objectName));
}

QPushButton* CServerRemoteControlDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void CServerRemoteControlDlg::open() {
    show();
    if (!runner_ || !runner_->available()) {
        prompter_.showError(this, QStringLiteral("Remote Control Support Not Found"),
                            QStringLiteral("KVSM Remote Control Problem"));
        close();
        return;
    }
    setCursor(Qt::BusyCursor); // until the first refresh has come back
    refresh();
    prober_->start();
}

void CServerRemoteControlDlg::refresh() {
    if (refreshing_ || closing_ || !runner_)
        return;
    timer_->stop();
    auto result = std::make_shared<RemoteRefresh>();
    result->status = status_; // a value that the reply lacks keeps what it was
    refreshing_ = runner_->run(
        host(),
        [result](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            RemoteRefresh& r = *result;
            r.statusOk = getStatus(library, object, r.status) != 0;
            if (!r.statusOk) {
                // Why: the agent not there, a refused login, or an identity that does not match.
                library.getAgentIdentity(object, &r.trust, &r.presentedFingerprint, &r.recordedFingerprint);
                return 0;
            }
            r.restartOk = library.getRestartTime(object, &r.restartTime) != 0;
            return 1;
        },
        [this, result](int) {
            refreshing_ = false;
            showRefresh(*result);
            if (std::exchange(refreshAgain_, false))
                refresh();
            else if (!closing_)
                timer_->start();
        });
}

void CServerRemoteControlDlg::refreshNow() {
    if (refreshing_)
        refreshAgain_ = true;
    else
        refresh();
}

void CServerRemoteControlDlg::showRefresh(const RemoteRefresh& refresh) {
    unsetCursor();
    if (!refresh.statusOk) {
        showFailure(refresh);
        return;
    }
    RemoteServerStatus shown = refresh.status;
    field("upTime")->setText(qs(texts::upTimeText(shown.totalUpTime, shown.crashes)));
    const bool running = texts::isRunningStatus(shown.status);
    if (!running && shown.currentSetup.empty()) {
        shown.currentSetup = "Not selected";
        shown.description = kNoSetupSummary;
    }
    showRunning(running);
    button("startStop")->setEnabled(running || !refresh.status.currentSetup.empty());
    button("configRestart")->setEnabled(running);
    if (running) {
        if (std::optional<std::string> memory = texts::memoryText(shown.currentRamK, shown.peakRamK))
            field("memory")->setText(qs(*memory));
    }
    showFields(shown);
    status_ = refresh.status;
    updateStartStopTip();
    if (refresh.restartOk) {
        restartValue_ = refresh.restartTime;
        field("restartTime")->setText(qs(texts::restartTimeText(restartValue_)));
    }
}

void CServerRemoteControlDlg::showRunning(bool running) {
    const bool location = !context_.settings.serverLocation.empty();
    button("startStop")->setText(running ? QStringLiteral("Stop Server") : QStringLiteral("Start Server"));
    button("monitor")->setEnabled(running);
    button("adminInGame")->setEnabled(running && location);
    button("playGame")->setEnabled(running && location);
    button("manageSetups")->setEnabled(static_cast<bool>(options_.manageSetups));
    button("pbOptions")->setEnabled(running && options_.antiCheat);
    button("banList")->setEnabled(static_cast<bool>(options_.banList));
}

void CServerRemoteControlDlg::showFields(const RemoteServerStatus& status) {
    // Rewritten only when it changes, so that its scroll position survives the refreshes.
    QPlainTextEdit* summary = box("summary");
    const QString description = qs(status.description);
    if (summary->toPlainText().compare(description, Qt::CaseInsensitive) != 0)
        summary->setPlainText(description);
    field("startingMap")->setText(qs(status.startingMap));
    field("currentSetup")->setText(qs(status.currentSetup));
    field("status")->setText(qs(status.status));
}

void CServerRemoteControlDlg::showGameStatus(const core::StatusReport& report) {
    playerCount_ = std::max(0, report.playerCount);
    // The summary's lines end in CR LF; the box wants plain line feeds.
    const QString summary = qs(report.summary).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (box("details")->toPlainText() != summary)
        box("details")->setPlainText(summary);
}

void CServerRemoteControlDlg::showFailure(const RemoteRefresh& refresh) {
    for (const char* name :
         {"monitor", "adminInGame", "playGame", "startStop", "pbOptions", "manageSetups", "banList", "configRestart"})
        button(name)->setEnabled(false);
    field("currentSetup")->clear();
    const QString summary = box("summary")->toPlainText();
    auto show = [&](const char* status, const char* text) {
        field("status")->setText(QString::fromUtf8(status));
        if (summary != QString::fromUtf8(text))
            box("summary")->setPlainText(QString::fromUtf8(text));
    };
    // An agent that was reached and trusted but went no further than the login refused the name or password; one
    // that failed later (an older agent, a broken connection) counts as not found, as designed.
    const bool trusted = refresh.trust == KVSM_AGENT_KNOWN || refresh.trust == KVSM_AGENT_RECORDED;
    const int kind = trusted && lastStatusText_.rfind(kLoggingIn, 0) == 0 ? kRefused : refresh.trust;
    switch (kind) {
    case kRefused:
        show(kRefusedStatus, kRefusedSummary);
        tellOnce("refused", QString::fromUtf8(kRefusedText).arg(qs(lastStatusText_)),
                 QString::fromUtf8(kRefusedCaption));
        break;
    case KVSM_AGENT_CHANGED:
        show(kUntrustedStatus, kUntrustedSummary);
        tellOnce("changed",
                 QString::fromUtf8(kChangedText)
                     .arg(qs(entry_.address), qs(refresh.recordedFingerprint), qs(refresh.presentedFingerprint)),
                 QString::fromUtf8(kChangedCaption));
        break;
    case KVSM_AGENT_UNKNOWN:
    case KVSM_AGENT_TRUST_FILE_UNUSABLE:
        // The library's own words say what is wrong and what to do.
        show(kUntrustedStatus, kUntrustedSummary);
        tellOnce("untrusted", qs(lastStatusText_), QString::fromUtf8(kUntrustedCaption));
        break;
    default:
        show(kNotFoundStatus, kNotRunningSummary);
        tellOnce("notFound", QString::fromUtf8(kNotFoundText), QString::fromUtf8(kNotFoundCaption));
        break;
    }
}

void CServerRemoteControlDlg::tellOnce(const std::string& kind, const QString& text, const QString& caption) {
    if (!told_.insert(kind).second)
        return;
    prompter_.showError(this, text, caption);
}

void CServerRemoteControlDlg::updateStartStopTip() {
    const bool running =
        QString::fromStdString(status_.status).compare(QStringLiteral("Running"), Qt::CaseInsensitive) == 0;
    button("startStop")->setToolTip(QString::fromUtf8(running ? kStopTip : kStartTip));
}

void CServerRemoteControlDlg::startOrStop() {
    if (!runner_)
        return;
    button("startStop")->setEnabled(false);
    struct Outcome {
        RemoteServerStatus before;
        RemoteServerStatus after;
        bool statusOk = false;
        bool wasRunning = false;
        bool actionOk = false;
        bool afterOk = false;
    };
    auto outcome = std::make_shared<Outcome>();
    outcome->before = status_;
    runner_->run(
        host(),
        [outcome](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            Outcome& o = *outcome;
            o.statusOk = getStatus(library, object, o.before) != 0;
            if (!o.statusOk)
                return 0;
            o.wasRunning = texts::isRunningStatus(o.before.status);
            o.actionOk = (o.wasRunning ? library.stopServer(object) : library.startServer(object)) != 0;
            // The state that the start or stop left, for the fields.
            o.after = o.before;
            o.afterOk = getStatus(library, object, o.after) != 0;
            return 1;
        },
        [this, outcome](int) {
            const Outcome& o = *outcome;
            if (!o.statusOk)
                return; // the next refresh sets the buttons again
            if (!o.actionOk) {
                prompter_.showError(this, QString::fromUtf8(kControlProblem), QStringLiteral("KV Server Manager"));
            } else {
                const bool location = !context_.settings.serverLocation.empty();
                const bool running = !o.wasRunning;
                button("startStop")->setText(running ? QStringLiteral("Stop Server") : QStringLiteral("Start Server"));
                button("startStop")->setEnabled(true);
                button("monitor")->setEnabled(running);
                button("adminInGame")->setEnabled(running && location);
                button("playGame")->setEnabled(running && location);
            }
            const RemoteServerStatus& shown = o.afterOk ? o.after : o.before;
            showFields(shown);
            status_ = shown;
            updateStartStopTip();
        });
}

void CServerRemoteControlDlg::monitorServer() {
    if (closing_ || !options_.makeMonitorWindow)
        return;
    if (monitorWindow_ && feed_ && feed_->feeding()) {
        monitorWindow_->showNormal();
        monitorWindow_->raise();
        monitorWindow_->activateWindow();
        return;
    }
    // A window whose feed has ended shows nothing new: a fresh feed takes its place.
    if (monitorWindow_)
        monitorWindow()->closeWithoutAsking();
    auto* source = new RemoteFeedSource(context_.remoteLibrary, host());
    monitor::CMonitorServerOutputWnd* window =
        options_.makeMonitorWindow(*source, entry_.serverName, entry_.address, status_.currentSetup);
    if (!window) {
        delete source;
        return;
    }
    source->setParent(window);
    monitorWindow_ = window;
    feed_ = source;
    window->show();
    source->start();
}

void CServerRemoteControlDlg::adminInGame() {
    startGame(true);
}

void CServerRemoteControlDlg::playGame() {
    startGame(false);
}

void CServerRemoteControlDlg::startGame(bool admin) {
    const std::string& location = context_.settings.serverLocation;
    if (location.empty())
        return;
    // The game joins the game server's host; the agent's port of the entry is no game port.
    const std::string address = texts::hostOf(entry_.address);
    const std::string& password = admin ? status_.gameAdminPassword : status_.gamePlayerPassword;
    if (!texts::isPassableGamePassword(password)) {
        prompter_.showError(this,
                            QStringLiteral("The game password that the server reported cannot be given to the game: it "
                                           "holds a \"?\" or a control character, or it is too long."),
                            QStringLiteral("Start Korvane"));
        return;
    }
    if (core::isGameClientRunning(options_.procFolder)) {
        prompter_.showInformation(this, qs(texts::gameAlreadyRunningText(address, password)),
                                  QStringLiteral("Game Already Running"));
        return;
    }
    const std::string argument =
        admin ? address + "?Password=" + password : texts::gameClientArgument(address, password);
    const QString program = pathText(joinPath(location, core::kGameClientProgram));
    if (!desktop_.startDetached(program, {qs(argument)}, pathText(location)))
        prompter_.showError(this, QStringLiteral("The game \"%1\" could not be started.").arg(program),
                            QStringLiteral("Start Korvane"));
}

void CServerRemoteControlDlg::manageServerSetups() {
    if (!options_.manageSetups)
        return;
    QPointer<CServerRemoteControlDlg> self(this);
    const bool changed = options_.manageSetups(*this);
    if (self && changed)
        refreshNow();
}

void CServerRemoteControlDlg::configRestart() {
    if (!runner_)
        return;
    CRemoteServerConfigureAutoRestartDlg dialog(
        restartValue_,
        [help = options_.help] {
            if (help)
                help(CRemoteServerConfigureAutoRestartDlg::kHelpPage);
        },
        this);
    QPointer<CServerRemoteControlDlg> self(this);
    if (!prompter_.runDialog(dialog) || !self || !runner_)
        return;
    const std::string value = dialog.chosenValue();
    if (value.empty())
        return;
    runner_->run(
        host(),
        [value](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return library.setRestartTime(object, value.c_str());
        },
        [this, value](int result) {
            if (result == 0) {
                prompter_.showError(this,
                                    QStringLiteral("The automatic restart time could not be set on the server.  The "
                                                   "status line shows why."),
                                    QStringLiteral("Configure Remote Server Automatic Restart"));
                return;
            }
            restartValue_ = value;
            field("restartTime")->setText(qs(texts::restartTimeText(value)));
        });
}

void CServerRemoteControlDlg::closeEvent(QCloseEvent* event) {
    shutDown();
    event->accept();
}

void CServerRemoteControlDlg::shutDown() {
    if (closing_)
        return;
    closing_ = true;
    timer_->stop();
    prober_->stop();
    // The runner goes at once: calls still running end by themselves and are heard by nobody.
    delete runner_;
    runner_ = nullptr;
    if (monitorWindow_)
        monitorWindow()->closeWithoutAsking();
    emit closed();
}

} // namespace kv::manager::ui
