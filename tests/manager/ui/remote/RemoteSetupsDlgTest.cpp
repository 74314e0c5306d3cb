// The setup management window against kvagent --headless on loopback, through the library built here: what the host
// stores after each command, and what the administrator is asked and told.
#include "manager/ui/remote/CRemoteServerConfigurationManagementDlg.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Text.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/ShippedData.h"
#include "manager/ui/CSelectServerSetupDlg.h"
#include "manager/ui/SetupBrowser.h"
#include "manager/ui/SetupTree.h"
#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"
#include "manager/ui/setup/details/CServerDetailsServerNamePropertyPage.h"
#include "tests/manager/ui/remote/RemoteWindowFixture.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <tuple>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kv::manager::ui {
namespace {

using Dialog = CRemoteServerConfigurationManagementDlg;

class RemoteSetups : public RemoteWindowFixture {
protected:
    void SetUp() override {
        RemoteWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        setups::prepareWorkingFolder(context.workingFolder, KV_TEST_DATA_DIR);
        context.documentsFolder = local.file("Documents");
        context.settingsFile = local.file("Korvane.conf");
        context.settings.firstRun = 0;
    }

    std::unique_ptr<Dialog> open(int players = 0, std::string password = "secret") {
        auto dialog = std::make_unique<Dialog>(
            context, prompter, desktop, remote::RemoteHost{agent.address(), agent.adminName(), password}, "Harbor Box",
            players, [] {}, [this] { ++libraryChanges; });
        dialog->show();
        EXPECT_TRUE(idle(*dialog)) << agent.output();
        return dialog;
    }
    static bool idle(Dialog& dialog) {
        return settle([&dialog] { return !dialog.busy(); });
    }
    static QStringList names(const Dialog& dialog) {
        QStringList out;
        for (int r = 0; r < dialog.list()->topLevelItemCount(); ++r)
            out << dialog.list()->topLevelItem(r)->text(0);
        return out;
    }
    static bool select(Dialog& dialog, const QString& name) {
        const QList<QTreeWidgetItem*> found = dialog.list()->findItems(name, Qt::MatchExactly);
        dialog.selectRow(found.isEmpty() ? -1 : dialog.list()->indexOfTopLevelItem(found.front()));
        return !found.isEmpty();
    }
    static void trigger(Dialog& dialog, const char* action) {
        dialog.contextMenu()->findChild<QAction*>(QString::fromUtf8(action))->trigger();
    }
    std::string localSetup(const std::string& name) const {
        return setups::SetupStore(context.workingFolder).pathFor(name);
    }
    std::string saveLocal(setups::ServerSetup setup) const {
        std::string error;
        EXPECT_TRUE(setups::SetupStore(context.workingFolder).save(setup, &error)) << error;
        return localSetup(setup.m_csName);
    }
    std::string onHost(const std::string& relative) { return agent.host().readWork(relative); }
    // The host's files as they arrived: a transfer carries lines, which the host ends with a line feed.
    static std::string asSent(const std::string& localFile) {
        return replaceAll(readFile(localFile).value_or("?"), "\r\n", "\n");
    }
    // The setup the host runs, as its status tells it.
    std::string activeSetup() const {
        const RemoteControlLibrary& library = *binding.library();
        KvsmRemoteObject* object =
            library.create(agent.address().c_str(), agent.adminName().c_str(), agent.password().c_str());
        std::string setup, text;
        std::uint32_t upTime = 0;
        std::int32_t numbers[3] = {};
        const int ok = library.getServerStatus(object, &setup, &text, &text, &text, &text, &text, &upTime, &numbers[0],
                                               &numbers[1], &numbers[2]);
        library.destroy(object);
        return ok ? setup : "<no status>";
    }
    void hostSetup(const std::string& name, const std::string& serverName) {
        agent.host().controlFile(name, "Harbor.kvo");
        ASSERT_TRUE(makeDirectories(joinPath(agent.host().workFolder(), "Server Setups")));
        ASSERT_TRUE(writeFileAtomically(joinPath(agent.host().workFolder(), "Server Setups/" + name + ".ServerConfig"),
                                        "m_csName=" + name +
                                            "\r\nm_csMapName=Harbor\r\nm_csMapFile=Harbor.kvo\r\n"
                                            "m_csServerName=" +
                                            serverName + "\r\n"));
    }

    int libraryChanges = 0;
};

TEST_F(RemoteSetups, AddSetupSendsTheChosenSetupWithItsGeneratedFilesAndListsIt) {
    setups::ServerSetup cup;
    std::tie(cup.m_csName, cup.m_csMapName, cup.m_csMapFile) = std::tuple("Cup Final", "Harbor", "Harbor.kvo");
    std::tie(cup.m_csAdminPassword, cup.m_csPlayerPassword) = std::tuple("adm", "play");
    cup.m_fTournamentModeEnabled = cup.m_fLANOnly = 1;
    cup.m_csSetupDescription = "Bring a team\r\n[EndDescription]\r\nStopServer"; // sent only when guarded
    const std::string cupFile = saveLocal(cup);

    std::unique_ptr<Dialog> dialog = open();
    EXPECT_EQ(dialog->windowTitle(),
              QString::fromStdString("Remote Server Setups Management for Harbor Box (" + agent.address() + ")"));
    const QTreeWidget& list = *dialog->list();
    ASSERT_EQ(names(*dialog), QStringList{QStringLiteral("Duel")}) << dialog->statusLine()->text().toStdString();
    const char* headers[] = {"Server Setup Name", "Map", "Server Type", "Last Update"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.headerItem()->text(c), QString::fromUtf8(headers[c]));
        EXPECT_GT(list.columnWidth(c), list.fontMetrics().horizontalAdvance(list.topLevelItem(0)->text(c)))
            << headers[c] << ": the texts are not cut";
    }
    EXPECT_EQ(list.topLevelItem(0)->text(2), QStringLiteral("GLOBAL"));
    EXPECT_TRUE(list.topLevelItem(0)->text(3).contains(QStringLiteral(" at "))); // a time, not "-"
    EXPECT_TRUE(dialog->statusLine()->text().isEmpty());
    EXPECT_TRUE(dialog->button("activate")->isDefault());
    auto enabled = [&dialog] {
        return std::tuple(dialog->button("activate")->isEnabled(), dialog->button("remove")->isEnabled(),
                          dialog->button("add")->isEnabled(),
                          dialog->contextMenu()->findChild<QAction*>(QStringLiteral("update"))->isEnabled());
    };
    EXPECT_EQ(enabled(), std::tuple(false, false, true, false));
    dialog->selectRow(0);
    EXPECT_EQ(enabled(), std::tuple(true, true, true, true));
    QStringList items;
    for (QAction* a : dialog->contextMenu()->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("Update Server Setup"), QStringLiteral("Download Setup From Server"),
                                  QStringLiteral("-"), QStringLiteral("Edit Server Setup (Download Then Edit)")}));
    EXPECT_EQ(dialog->playerWarning()->text(), QStringLiteral("There are currently no players on this server."));
    EXPECT_EQ(dialog->playerWarning()->palette().color(QPalette::WindowText), QColor(Qt::black));

    // The chooser opens on the local library; the setup picked there goes to the host.
    QString chooserTitle;
    prompter.dialogHandler = [&](QDialog& d) {
        auto* chooser = dynamic_cast<CSelectServerSetupDlg*>(&d);
        if (!chooser)
            return false;
        chooserTitle = chooser->windowTitle();
        chooser->show();
        test::waitUntil([chooser] { return QCoreApplication::processEvents(), !chooser->browser()->reloading(); }, 30s);
        chooser->browser()->tree()->setCurrentItem(chooser->browser()->tree()->setupItem(cupFile));
        chooser->okButton()->click();
        return chooser->result() == QDialog::Accepted;
    };
    dialog->button("add")->click();
    EXPECT_EQ(enabled(), std::tuple(false, false, false, false)); // busy
    ASSERT_TRUE(idle(*dialog));
    EXPECT_TRUE(chooserTitle.contains(QStringLiteral("Harbor Box"))) << chooserTitle.toStdString();
    EXPECT_TRUE(prompter.errors.empty()) << prompter.errors.front().text.toStdString();

    const std::string control = onHost("Configurations/Cup Final.Control");
    EXPECT_NE(control.find("RunMode=LANTOURNAMENT\n"), std::string::npos) << control;
    EXPECT_NE(control.find("Map=Harbor.kvo\n"), std::string::npos) << control;
    EXPECT_NE(control.find("GameAdminPassword=adm\n"), std::string::npos) << control;
    EXPECT_NE(control.find("GamePlayerPassword=play\n"), std::string::npos) << control;
    EXPECT_NE(control.find("0xAHarbor Map Overview0xA"), std::string::npos) << control; // the detailed description
    const auto ini = readFile(joinPath(context.documentsFolder, "Korvane Server Setups/Cup Final.ini"));
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(onHost("Configurations/Cup Final.ini"), *ini);
    EXPECT_EQ(onHost("Server Setups/Cup Final.ServerConfig"), asSent(cupFile));
    EXPECT_EQ(names(*dialog).size(), 2);
    EXPECT_TRUE(names(*dialog).contains(QStringLiteral("Cup Final")));

    // A login the host refuses: only Cancel (and Help) work.
    std::unique_ptr<Dialog> refused = open(0, "wrong");
    EXPECT_EQ(refused->statusLine()->text(), QStringLiteral("Server Remote Control Utility is not available."));
    const int widths[] = {350, 100, 80, 120}; // as designed at least, wider where a heading needs more
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(refused->list()->columnWidth(c) >= widths[c] && refused->list()->columnWidth(c) < widths[c] + 40);
    EXPECT_FALSE(refused->list()->isEnabled() || refused->button("add")->isEnabled());
    EXPECT_TRUE(refused->button("cancel")->isEnabled());
}

TEST_F(RemoteSetups, DownloadAsksBeforeReplacingAndAnEditedRenameGoesBackUnderItsNewName) {
    hostSetup("Remote Cup", "From the host");
    const std::string hostBytes = onHost("Server Setups/Remote Cup.ServerConfig");
    setups::ServerSetup mine;
    mine.m_csName = "Remote Cup";
    mine.m_csServerName = "Mine";
    const std::string mineFile = saveLocal(mine);
    const std::string mineBytes = readFile(mineFile).value_or("");

    std::unique_ptr<Dialog> dialog = open();
    ASSERT_TRUE(select(*dialog, QStringLiteral("Remote Cup"))) << names(*dialog).join(u',').toStdString();

    // No keeps the local setup and asks nothing of the host.
    prompter.answers = {false};
    trigger(*dialog, "download");
    EXPECT_FALSE(dialog->busy());
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Replace Server Setup"));
    EXPECT_TRUE(prompter.questions[0].text.contains(QStringLiteral("\"Remote Cup\"")));
    EXPECT_EQ(readFile(mineFile).value_or(""), mineBytes);
    EXPECT_EQ(libraryChanges, 0);

    prompter.answers = {true};
    trigger(*dialog, "download");
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(readFile(mineFile).value_or(""), hostBytes);
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Server Setup Downloaded"));
    EXPECT_EQ(prompter.informations[0].text,
              QStringLiteral("Server Setup downloaded into the \"Available Server Setups\" list."));
    EXPECT_EQ(libraryChanges, 1);

    // Download then edit: the sheet renames the setup, and the host gets it under the new name.
    prompter.answers = {true};
    prompter.dialogHandler = [](QDialog& d) {
        auto* sheet = dynamic_cast<CServerDetailsPropertySheet*>(&d);
        if (!sheet)
            return false;
        sheet->show();
        QApplication::processEvents();
        sheet->generalPage()->nameField()->setText(QStringLiteral("Remote Cup Two"));
        return sheet->confirm();
    };
    trigger(*dialog, "edit");
    ASSERT_TRUE(idle(*dialog));
    EXPECT_TRUE(prompter.errors.empty()) << prompter.errors.front().text.toStdString();
    EXPECT_EQ(prompter.informations.size(), 1u) << "an edit does not announce the download";
    const std::string renamed = localSetup("Remote Cup Two");
    ASSERT_TRUE(fileExists(renamed));
    EXPECT_EQ(onHost("Server Setups/Remote Cup Two.ServerConfig"), asSent(renamed));
    EXPECT_NE(onHost("Configurations/Remote Cup Two.Control").find("Name=Remote Cup Two\n"), std::string::npos);
    EXPECT_EQ(onHost("Server Setups/Remote Cup.ServerConfig"), hostBytes);
    EXPECT_TRUE(names(*dialog).contains(QStringLiteral("Remote Cup Two")));
    EXPECT_GE(libraryChanges, 2);

    // A setup the host does not have: the download fails, is reported, and the edit ends without sending anything.
    dialog->showSetupList({"Vanished,Harbor.kvo,GLOBAL,1", "../../etc,m,LAN"});
    ASSERT_TRUE(select(*dialog, QStringLiteral("Vanished")));
    const int sheets = prompter.dialogsRun;
    trigger(*dialog, "edit");
    ASSERT_TRUE(idle(*dialog));
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Server Setup Download Failure"));
    EXPECT_EQ(prompter.dialogsRun, sheets);
    EXPECT_FALSE(fileExists(localSetup("Vanished")));
    EXPECT_EQ(onHost("Configurations/Vanished.Control"), "");

    // A name that is no setup file name never becomes a local path.
    ASSERT_TRUE(select(*dialog, QStringLiteral("../../etc")));
    trigger(*dialog, "download");
    EXPECT_FALSE(dialog->busy());
    ASSERT_EQ(prompter.errors.size(), 2u);
    EXPECT_EQ(prompter.errors[1].caption, QStringLiteral("Server Setup Download Failure"));
}

TEST_F(RemoteSetups, RemoveAndActivateChangeTheHostAndOnlyASuccessfulActivationCloses) {
    hostSetup("Spare", "Spare box");
    std::unique_ptr<Dialog> dialog = open(2);
    EXPECT_EQ(dialog->playerWarning()->text(), QStringLiteral("WARNING: There are 2 players currently on the server.  "
                                                              "Switching Server Setups will kick these players off."));
    EXPECT_EQ(dialog->playerWarning()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(dialog->playerWarning()->font().bold());
    ASSERT_EQ(names(*dialog).size(), 2);

    // Update needs the setup in the local library.
    ASSERT_TRUE(select(*dialog, QStringLiteral("Spare")));
    trigger(*dialog, "update");
    EXPECT_FALSE(dialog->busy());
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Server Setup Not In Library"));
    prompter.errors.clear();

    prompter.answers = {true};
    dialog->button("remove")->click();
    ASSERT_TRUE(idle(*dialog));
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Remove Setup From Server"));
    EXPECT_EQ(prompter.questions[0].text,
              QStringLiteral("Are you sure you want to remove the selected setup \"Spare\" from the server?"));
    EXPECT_EQ(onHost("Configurations/Spare.Control"), "");
    EXPECT_EQ(names(*dialog), QStringList{QStringLiteral("Duel")});

    // A name the host refuses to activate: said so, and the window stays open.
    dialog->showSetupList({"Duel,Harbor.kvo,GLOBAL,1", "Not.A.Setup,m,LAN,1"});
    ASSERT_TRUE(select(*dialog, QStringLiteral("Not.A.Setup")));
    prompter.answers = {true};
    dialog->button("activate")->click();
    ASSERT_TRUE(idle(*dialog));
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Activate Setup Failure"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    // The kick question: No changes nothing; Yes activates and closes with OK.
    EXPECT_NE(activeSetup(), "Duel");
    ASSERT_TRUE(select(*dialog, QStringLiteral("Duel")));
    prompter.answers = {false};
    emit dialog->list()->itemDoubleClicked(dialog->list()->currentItem(), 0);
    EXPECT_FALSE(dialog->busy());
    EXPECT_EQ(prompter.questions.back().caption, QStringLiteral("Kick Players and Activate New Setup"));
    EXPECT_TRUE(prompter.questions.back().text.startsWith(QStringLiteral("The server currently has 2 players on it.")));
    prompter.answers = {true};
    dialog->button("activate")->click();
    ASSERT_TRUE(test::waitUntil(
        [&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return !dialog->isVisible();
        },
        60s));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(activeSetup(), "Duel");
}

} // namespace
} // namespace kv::manager::ui
