#include "manager/ui/CKVServerManagerDlg.h"

#include "manager/ui/CReplaceOrRenameDlg.h"
#include "manager/ui/CServerMonitorDlg.h"
#include "manager/ui/CSplashWnd.h"
#include "manager/ui/LocalMonitors.h"
#include "manager/ui/MonitorWindowMaker.h"
#include "manager/ui/SetupBrowser.h"
#include "manager/ui/leagues/CLeagueConfigurationCreationDlg.h"
#include "manager/ui/leagues/CLeagueSelectionDlg.h"
#include "manager/ui/preferences/CPreferencesSheet.h"
#include "manager/ui/remote/AntiCheatTools.h"
#include "manager/ui/remote/CBanListManagementDlg.h"
#include "manager/ui/remote/CManageServersDlg.h"
#include "manager/ui/remote/CRemoteServerConfigurationManagementDlg.h"
#include "manager/ui/remote/RemoteControlWindows.h"
#include "manager/ui/setup/NewSetupFlow.h"
#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"

#include "manager/core/ManagerContext.h"
#include "manager/local/LocalRunPlan.h"
#include "manager/local/SetupPackage.h"
#include "manager/setups/SetupMail.h"

#include "common/Files.h"
#include "gui/ColourRef.h"
#include "gui/DesktopServices.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

using setups::LibraryResult;

constexpr const char* kCopyExistsText = "You have already made a copy of this server setup.  You must rename the copy "
                                        "before creating another copy of it.";
constexpr const char* kMailMissingText =
    "The required Internet E-Mail functionality could not be found on your system.  Please verify that Outlook or "
    "Outlook Express are installed on your system (Outlook Express is included in most Internet Explorer "
    "installations).\n\nIf you do not want to have Outlook or Outlook Express installed you can still E-Mail server "
    "setups using  another E-Mail program by first generating the \"File, Generate Server Setup Package in My "
    "Documents\" menu command and then attaching the files created in your \"My Documents\\Korvane Server Setups\" "
    "folder.";

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Commands that need a selected setup.
constexpr const char* kSetupCommands[] = {"editSetup",       "copySetup",  "deleteSetup",
                                          "generatePackage", "emailSetup", "runSetup"};

constexpr const char* kStopServersText =
    "Korvane servers that you started from this manager are still running.  Quitting stops them.\n\nDo you want "
    "to stop the servers and quit?";

} // namespace

CKVServerManagerDlg::CKVServerManagerDlg(core::ManagerContext& context, gui::Prompter& prompter,
                                         gui::DesktopServices& desktop, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), context_(context), prompter_(prompter), desktop_(desktop), options_(options),
      library_(context.workingFolder, *context.clock) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    auto* layout = new QVBoxLayout(central);
    browser_ = new SetupBrowser(context_, central);
    layout->addWidget(browser_, 1);
    buildButtons(central, layout);
    setCentralWidget(central);
    monitorMaker_ =
        std::make_unique<MonitorWindowMaker>(context_, prompter_, [this] { openHelpPage(kServerMonitorPage); });
    monitors_ = new LocalMonitors(*monitorMaker_, options_.localRun, this);
    connect(monitors_, &LocalMonitors::allStopped, this, gui::guarded([this] {
                if (stoppingServers_)
                    finishQuit();
            }));
    remoteWindows_ = new RemoteControlWindows(
        [this](const remote::RemoteServerEntry& entry) {
            RemoteControlOptions remoteOptions = options_.remoteControl;
            remoteOptions.help = [this](const char* page) { openHelpPage(page); };
            remoteOptions.makeMonitorWindow = [this](monitor::MonitorSource& source, const std::string& serverName,
                                                     const std::string& address, const std::string& setupName) {
                return monitorMaker_->remote(source, serverName, address, setupName);
            };
            if (!remoteOptions.manageSetups)
                remoteOptions.manageSetups = [this](CServerRemoteControlDlg& w) {
                    return manageRemoteSetups(
                        context_, prompter_, desktop_, w.host(), w.serverName(), w.playerCount(),
                        [this] { openHelpPage(kRemoteSetupsPage); }, [this] { browser_->reload(); }, &w);
                };
            if (!remoteOptions.banList)
                remoteOptions.banList = [this](CServerRemoteControlDlg& w) {
                    manageRemoteBanList(
                        context_, prompter_, w.host(), w.serverName(), [this](const char* page) { openHelpPage(page); },
                        &w);
                };
            if (!remoteOptions.antiCheat)
                remoteOptions.antiCheat = [this](CServerRemoteControlDlg& w) {
                    showAntiCheatOptions(
                        context_, prompter_, desktop_, w.host(), [this](const char* page) { openHelpPage(page); }, &w);
                };
            return new CServerRemoteControlDlg(context_, prompter_, desktop_, entry, std::move(remoteOptions));
        },
        this);
    buildMenus();
    statusBar()->showMessage(QStringLiteral("Reading the server setups..."));

    tray_ = new QSystemTrayIcon(windowIcon(), this);
    tray_->setToolTip(QString::fromUtf8(kTitle));
    auto* trayMenu = new QMenu(this);
    connect(trayMenu->addAction(QStringLiteral("Show KVSM")), &QAction::triggered, this,
            gui::guarded([this](bool) { showManager(); }));
    connect(trayMenu->addAction(QStringLiteral("Quit")), &QAction::triggered, this,
            gui::guarded([this](bool) { quit(); }));
    tray_->setContextMenu(trayMenu);
    connect(tray_, &QSystemTrayIcon::activated, this, gui::guarded([this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    showManager();
            }));

    connect(browser_, &SetupBrowser::loaded, this, gui::guarded([this] { onLoaded(); }));
    connect(browser_, &SetupBrowser::selectionChanged, this, gui::guarded([this] { updateCommands(); }));
    connect(browser_->tree(), &SetupTree::viewFilterChanged, this, gui::guarded([this](ViewFilter filter) {
                const char* names[] = {"showAll", "showStandard", "showTournament"};
                if (QAction* a = action(names[static_cast<int>(filter)]))
                    a->setChecked(true);
            }));
    connect(browser_->tree(), &QTreeWidget::itemActivated, this, gui::guarded([](QTreeWidgetItem* item, int) {
                if (SetupTree::kindOf(item) != NodeKind::Setup)
                    item->setExpanded(!item->isExpanded());
            }));
    connect(browser_->tree(), &QTreeWidget::itemActivated, this, gui::guarded([this](QTreeWidgetItem* item, int) {
                if (SetupTree::kindOf(item) == NodeKind::Setup)
                    editSetup();
            }));
    applyColours();
    updateCommands();
    resize(900, 600);
}

CKVServerManagerDlg::~CKVServerManagerDlg() {
    delete splash_.data();
    remoteWindows_->closeAll();
    // Before the window maker that its monitors were made with.
    delete monitors_;
}

void CKVServerManagerDlg::buildMenus() {
    auto add = [this](QMenu* menu, const char* text, const char* name, auto command) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, gui::guarded([command](bool) { command(); }));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "&New Server Setup...", "newSetup", [this] { newSetup(); })->setShortcut(QKeySequence::New);
    file->addSeparator();
    add(file, "&Run Server Setup", "runSetup", [this] { runSetup(); });
    add(file, "&Monitor Local Servers...", "monitorLocalServers", [this] { monitorLocalServers(); });
    file->addSeparator();
    add(file, "&Add E-Mailed Server Setup File You Have Received...", "addEmailedSetup", [this] { addEmailedSetup(); });
    file->addSeparator();
    add(file, "&Generate Server Setup Package in My Documents", "generatePackage", [this] { generatePackage(); });
    add(file, "&E-Mail Server Setup...", "emailSetup", [this] { emailSetup(); });
    file->addSeparator();
    add(file, "E&dit Server Setup...", "editSetup", [this] { editSetup(); });
    add(file, "&Copy Server Setup", "copySetup", [this] { copySetup(); });
    add(file, "&Delete Server Setup...", "deleteSetup", [this] { deleteSetup(); })->setShortcut(QKeySequence::Delete);
    file->addSeparator();
    add(file, "Create Custom &League Configuration From Selected Server Setup", "createCustomLeague", [this] {
        if (ready() && browser_->setupSelected())
            CLeagueConfigurationCreationDlg::run(context_, prompter_, browser_->maps(), browser_->selectedFile(), this);
    });
    file->addSeparator();
    add(file, "&Hide KVSM", "hideManager", [this] { hideManager(); });
    add(file, "&Quit", "quit", [this] { quit(); })->setShortcut(QKeySequence::Quit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    viewGroup_ = new QActionGroup(this);
    viewGroup_->setExclusive(true);
    const std::pair<const char*, const char*> views[] = {
        {"Show &All", "showAll"}, {"Show &Standard", "showStandard"}, {"Show &Tournament", "showTournament"}};
    for (int i = 0; i < 3; ++i) {
        QAction* a =
            add(view, views[i].first, views[i].second, [this, i] { setViewFilter(static_cast<ViewFilter>(i)); });
        a->setCheckable(true);
        a->setChecked(i == 0);
        viewGroup_->addAction(a);
    }

    if (context_.remoteLibrary) {
        QMenu* servers = menuBar()->addMenu(QStringLiteral("&Servers"));
        add(servers, "Manage &Remote Servers...", "manageRemoteServers", [this] { manageRemoteServers(); });
        QMenu* active = servers->addMenu(QStringLiteral("&Active Remote Controlled Servers"));
        active->setObjectName(QStringLiteral("activeRemoteServers"));
        active->setEnabled(false);
        // Rebuilt each time, so that it lists the windows open now, in the order they were opened.
        connect(servers, &QMenu::aboutToShow, this,
                gui::guarded([this, active] { remoteWindows_->fillMenu(*active); }));
    }

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    add(options, "&Preferences...", "preferences", [this] { openPreferences(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, "&Getting Started with Korvane Server Manager", "gettingStarted",
        [this] { openHelpPage(kGettingStartedPage); });
    add(help, "Help on the &Main Window", "mainWindowHelp", [this] { openHelpPage(kMainWindowPage); });
    help->addSeparator();
    add(help, "&About KV Server Manager...", "about", [this] { showAbout(); });
}

void CKVServerManagerDlg::manageRemoteServers() {
    if (!context_.remoteLibrary)
        return;
    CManageServersDlg dialog(
        context_.workingFolder, prompter_, [this] { openHelpPage(kManageRemoteServersPage); },
        [this](const remote::RemoteServerEntry& entry) { remoteWindows_->open(entry); }, this);
    dialog.startStatusRefresh(context_.remoteLibrary);
    prompter_.runDialog(dialog);
}

void CKVServerManagerDlg::buildButtons(QWidget* central, QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    auto add = [&](const char* text, const char* name, const char* tip, auto command) {
        auto* b = new QPushButton(QString::fromUtf8(text), central);
        b->setObjectName(QString::fromUtf8(name));
        b->setToolTip(QString::fromUtf8(tip));
        connect(b, &QPushButton::clicked, this, gui::guarded([command](bool) { command(); }));
        row->addWidget(b);
    };
    add("Create New Setup", "newSetupButton", "Create a server setup with the wizard", [this] { newSetup(); });
    add("Add E-Mailed Setup...", "addEmailedSetupButton", "Add a server setup file someone sent you",
        [this] { addEmailedSetup(); });
    row->addStretch();
    add("Start Selected Server", "runSetupButton", "Run the selected setup on this computer and watch its output",
        [this] { runSetup(); });
    add("Edit...", "editSetupButton", "Edit the options of the selected server setup", [this] { editSetup(); });
    add("Copy", "copySetupButton", "Copy the selected server setup", [this] { copySetup(); });
    add("Delete...", "deleteSetupButton", "Delete the selected server setup", [this] { deleteSetup(); });
    add("Generate Package", "generatePackageButton", "Make the game's files for the selected setup in your documents",
        [this] { generatePackage(); });
    add("E-Mail...", "emailSetupButton", "Send the selected setup and its files by e-mail", [this] { emailSetup(); });
    layout->addLayout(row);
}

QAction* CKVServerManagerDlg::action(const char* objectName) const {
    return findChild<QAction*>(QString::fromUtf8(objectName));
}

QPushButton* CKVServerManagerDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

bool CKVServerManagerDlg::ready() const {
    return started_ && shown_ && !browser_->reloading();
}

void CKVServerManagerDlg::updateCommands() {
    const bool setup = ready() && browser_->setupSelected();
    for (const char* name : kSetupCommands) {
        action(name)->setEnabled(setup);
        button((std::string(name) + "Button").c_str())->setEnabled(setup);
    }
    action("createCustomLeague")->setEnabled(setup);
    action("addEmailedSetup")->setEnabled(ready());
    button("addEmailedSetupButton")->setEnabled(ready());
}

void CKVServerManagerDlg::start() {
    if (started_)
        return;
    started_ = true;
    show();
    splash_ = new CSplashWnd(this);
    splash_->placeOver(this);
    splash_->show();
    splash_->raise();
    // The window takes no commands until the library is in.
    centralWidget()->setEnabled(false);
    menuBar()->setEnabled(false);
    browser_->reload();
}

void CKVServerManagerDlg::onLoaded() {
    const int count = browser_->tree()->setupCount();
    statusBar()->showMessage(count == 1 ? QStringLiteral("1 server setup")
                                        : QStringLiteral("%1 server setups").arg(count));
    if (shown_) {
        updateCommands();
        return;
    }
    // Two seconds less the whole seconds the load took, so a quick load does not merely flash the splash.
    const qint64 seconds = browser_->lastLoadMilliseconds() / 1000;
    const int wait = options_.minimumSplashTime && seconds < 2 ? static_cast<int>(2 - seconds) * 1000 : 0;
    QTimer::singleShot(wait, this, gui::guarded([this] { finishStart(); }));
}

void CKVServerManagerDlg::finishStart() {
    if (shown_)
        return;
    shown_ = true;
    delete splash_.data();
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
    updateCommands();
    browser_->tree()->setFocus();
    emit libraryShown();
    if (options_.greetOnFirstRun)
        greetFirstRun();
}

void CKVServerManagerDlg::greetFirstRun() {
    if (context_.settings.firstRun == 0)
        return;
    const bool look = prompter_.askYesNo(
        this,
        QStringLiteral("Welcome to Korvane Server Manager.  If this is the first time you've run this it is a good "
                       "idea to review the \"Getting Started with Korvane Server Manager\" documentation.\n\nWould "
                       "you like to take a look at it now while you run the program?"),
        QStringLiteral("Welcome to Korvane Server Manager"));
    if (look)
        openHelpPage(kGettingStartedPage);
    context_.settings.firstRun = 0;
    std::string error;
    if (!core::storeFirstRunDone(context_.settingsFile, &error))
        qWarning("kvmanager: the settings file could not be written: %s", error.c_str());
}

bool CKVServerManagerDlg::reportFailure(const LibraryResult& result, const char* caption) {
    if (result.ok)
        return false;
    prompter_.showError(this, qs(result.message), QString::fromUtf8(caption));
    return true;
}

void CKVServerManagerDlg::newSetup() {
    if (!ready())
        return;
    // The league choice: a league's file, "" for none, nothing when the administrator cancelled.
    const LeagueChooser chooseLeague = [this]() -> std::optional<std::string> {
        CLeagueSelectionDlg dialog(context_, this);
        connect(&dialog, &CLeagueSelectionDlg::helpRequested, &dialog,
                gui::guarded([this] { openHelpPage(CLeagueSelectionDlg::kHelpPage); }));
        if (!prompter_.runDialog(dialog))
            return std::nullopt;
        return dialog.chosenLeagueFile();
    };
    const std::optional<std::string> path =
        createNewSetup(context_, prompter_, desktop_, browser_->maps(), chooseLeague, this);
    if (!path)
        return;
    browser_->reload([file = *path](SetupTree& t) { t.selectSetupFile(file); });
    updateCommands();
}

void CKVServerManagerDlg::editSetup() {
    if (!ready() || !browser_->setupSelected())
        return;
    std::string saved;
    if (!CServerDetailsPropertySheet::edit(context_, prompter_, desktop_, browser_->maps(), browser_->selectedFile(),
                                           this, &saved))
        return;
    browser_->reload([saved](SetupTree& t) { t.selectSetupFile(saved); });
    updateCommands();
}

void CKVServerManagerDlg::copySetup() {
    if (!ready() || !browser_->setupSelected())
        return;
    SetupTree* tree = browser_->tree();
    QTreeWidgetItem* node = tree->currentItem();
    const std::string copyName = SetupTree::nameOf(node) + " (Copy)";
    if (QTreeWidgetItem* existing = SetupTree::childNamed(node->parent(), copyName)) {
        prompter_.showError(this, QString::fromUtf8(kCopyExistsText), QStringLiteral("Copy Already Exists"));
        tree->selectNode(existing);
        return;
    }
    const LibraryResult result = library_.copy(SetupTree::fileOf(node));
    if (reportFailure(result, result.message == kCopyExistsText ? "Copy Already Exists" : "Copy Server Setup"))
        return;
    const std::string path = result.path.empty() ? library_.store().pathFor(result.name) : result.path;
    browser_->reload([path](SetupTree& t) { t.selectSetupFile(path); });
    updateCommands();
}

void CKVServerManagerDlg::deleteSetup() {
    if (!ready() || !browser_->setupSelected())
        return;
    if (!prompter_.askYesNo(this, QStringLiteral("Are you sure you want to delete the selected server setup?"),
                            QStringLiteral("Delete Selected Server Setup")))
        return;
    QTreeWidgetItem* node = browser_->tree()->currentItem();
    const setups::LibraryRoot root = SetupTree::rootOf(node);
    const std::string category = SetupTree::nameOf(node->parent());
    if (reportFailure(library_.remove(SetupTree::fileOf(node)), "Delete Selected Server Setup"))
        return;
    browser_->reload([root, category](SetupTree& t) { t.selectCategoryOrRoot(root, category); });
    updateCommands();
}

void CKVServerManagerDlg::addEmailedSetup() {
    if (!ready())
        return;
    const QString chosen = prompter_.openFileName(
        this, QStringLiteral("Add E-Mailed Server Setup File You Have Received"), pathText(context_.documentsFolder),
        QStringLiteral("Server Setup Files (*.ServerConfig);;All Files (*)"));
    if (chosen.isEmpty())
        return;
    const std::string source = pathBytes(chosen);
    setups::ImportChoice choice = setups::ImportChoice::RefuseExisting;
    if (library_.importNameExists(source)) {
        CReplaceOrRenameDlg dialog(this);
        if (!prompter_.runDialog(dialog))
            return;
        choice = dialog.choice();
    }
    const LibraryResult result = library_.import(source, choice);
    if (reportFailure(result, "Add E-Mailed Server Setup"))
        return;
    const std::string path = result.path.empty() ? library_.store().pathFor(result.name) : result.path;
    browser_->reload([path](SetupTree& t) { t.selectSetupFile(path); });
    updateCommands();
}

void CKVServerManagerDlg::generatePackage() {
    if (!ready() || !browser_->setupSelected())
        return;
    const local::SetupPackage package =
        local::SetupPackage::generate(context_, browser_->maps(), browser_->selectedFile());
    if (!package.ok) {
        prompter_.showError(this, qs(package.message), qs(package.title));
        return;
    }
    if (prompter_.askYesNo(this,
                           QStringLiteral("Would you like to review the generated server setup configuration file?"),
                           QStringLiteral("Review Generated INI File"))) {
        const QString ini = pathText(joinPath(package.folder, package.setup.generatedIniName));
        if (!desktop_.openFile(ini))
            prompter_.showError(this, QStringLiteral("The generated file \"%1\" could not be opened.").arg(ini),
                                QStringLiteral("Review Generated INI File"));
        return;
    }
    prompter_.showInformation(
        this,
        QStringLiteral("The generated files have been created in your \"%1\" folder.").arg(pathText(package.folder)),
        QStringLiteral("Generated File Location"));
}

void CKVServerManagerDlg::emailSetup() {
    if (!ready() || !browser_->setupSelected())
        return;
    const std::string file = browser_->selectedFile();
    const local::SetupPackage package = local::SetupPackage::generate(context_, browser_->maps(), file);
    if (!package.ok) {
        prompter_.showError(this, qs(package.message), qs(package.title));
        return;
    }
    const setups::SetupMail mail = setups::composeSetupMail(package.setup, browser_->maps(), package.folder, file);
    gui::MailMessage message{qs(mail.subject), qs(mail.body), {}};
    for (const std::string& attachment : mail.attachments)
        message.attachments.push_back(pathText(attachment));
    switch (desktop_.composeMail(message)) {
    case gui::MailResult::Handed:
        break;
    case gui::MailResult::Missing:
        prompter_.showError(this, QString::fromUtf8(kMailMissingText),
                            QStringLiteral("Required E-Mail Support Not Available"));
        break;
    case gui::MailResult::Failed:
        prompter_.showError(this, QStringLiteral("Your e-mail program could not be started."),
                            QStringLiteral("E-Mail Server Setup"));
        break;
    }
}

void CKVServerManagerDlg::runSetup() {
    if (!ready() || !browser_->setupSelected())
        return;
    // A setup whose server runs already: its monitor comes forward before any file is written again.
    const std::string name = SetupTree::nameOf(browser_->tree()->currentItem());
    if (const local::LocalRun* run = monitors_->localRun(name); run && !run->hasEnded()) {
        monitors_->raise(name);
        return;
    }
    if (context_.settings.showRunLocalServerHelp != 0)
        openHelpPage(kRunLocalServerPage);
    local::LocalRunPlan plan = local::LocalRunPlan::make(context_, browser_->maps(), browser_->selectedFile());
    if (!plan.ok) {
        prompter_.showError(this, qs(plan.message), qs(plan.title));
        return;
    }
    std::string error;
    if (monitors_->run(std::move(plan.request), &error) == LocalMonitors::Outcome::Failed)
        prompter_.showError(this, QStringLiteral("The Korvane server could not be started.\n\n%1").arg(qs(error)),
                            QStringLiteral("Unable To Start Server"));
}

void CKVServerManagerDlg::monitorLocalServers() {
    const std::vector<std::string> names = monitors_->names();
    if (names.empty()) {
        prompter_.showInformation(this, QStringLiteral("There aren't any monitors currently running."),
                                  QStringLiteral("No Monitors Running"));
        return;
    }
    CServerMonitorDlg dialog(names, this);
    if (prompter_.runDialog(dialog))
        monitors_->raise(dialog.selectedName());
}

void CKVServerManagerDlg::openPreferences() {
    CPreferencesSheet sheet(context_, prompter_, desktop_, this);
    // The sheet has written the settings (and the master ban list) when it was accepted.
    if (prompter_.runDialog(sheet))
        applySettings(sheet.settings());
}

void CKVServerManagerDlg::applySettings(const core::ManagerSettings& settings) {
    context_.settings = settings;
    applyColours();
}

void CKVServerManagerDlg::applyColours() {
    const core::ManagerSettings& s = context_.settings;
    QWidget* central = centralWidget();
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, gui::fromColourRef(s.bgColor));
    palette.setColor(QPalette::WindowText, gui::fromColourRef(s.textColor));
    central->setPalette(palette);
    central->setAutoFillBackground(true);
    browser_->applyColours(s);
}

void CKVServerManagerDlg::setViewFilter(ViewFilter filter) {
    browser_->tree()->setViewFilter(filter);
}

void CKVServerManagerDlg::hideManager() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_->show();
        hide();
    } else {
        showMinimized(); // nowhere to bring it back from but the task bar
    }
}

void CKVServerManagerDlg::showManager() {
    tray_->hide();
    showNormal();
    raise();
    activateWindow();
}

void CKVServerManagerDlg::quit() {
    if (beginQuit())
        close();
}

void CKVServerManagerDlg::closeEvent(QCloseEvent* event) {
    if (beginQuit())
        event->accept();
    else
        event->ignore();
}

bool CKVServerManagerDlg::beginQuit() {
    if (quitting_)
        return true;
    if (stoppingServers_)
        return false;
    if (monitors_->runningServers() > 0) {
        if (!prompter_.askYesNo(this, QString::fromUtf8(kStopServersText), QStringLiteral("Stop Local Servers")))
            return false;
        stoppingServers_ = true;
        statusBar()->showMessage(QStringLiteral("Stopping the local servers..."));
        centralWidget()->setEnabled(false);
        menuBar()->setEnabled(false);
        monitors_->stopAll();
        return false;
    }
    markQuitting();
    return true;
}

void CKVServerManagerDlg::markQuitting() {
    quitting_ = true;
    remoteWindows_->closeAll();
    tray_->hide();
    emit quitRequested();
}

void CKVServerManagerDlg::finishQuit() {
    stoppingServers_ = false;
    if (!quitting_)
        markQuitting();
    close();
}

void CKVServerManagerDlg::openHelpPage(const char* page) {
    const std::string path = context_.helpFolder.empty() ? std::string() : joinPath(context_.helpFolder, page);
    if (path.empty() || !fileExists(path)) {
        prompter_.showError(this, QStringLiteral("The help page %1 could not be found.").arg(QString::fromUtf8(page)),
                            QStringLiteral("Help Not Available"));
        return;
    }
    if (!desktop_.openFile(pathText(path)))
        prompter_.showError(this, QStringLiteral("The help page %1 could not be opened.").arg(pathText(path)),
                            QStringLiteral("Help Not Available"));
}

void CKVServerManagerDlg::showAbout() {
    prompter_.showInformation(this,
                              QStringLiteral("KV Server Manager version %1\n\nKeeps your Korvane server setups, makes "
                                             "the game's files from them and sends them to others.")
                                  .arg(QStringLiteral(KV_MANAGER_VERSION)),
                              QStringLiteral("About KV Server Manager"));
}

} // namespace kv::manager::ui
