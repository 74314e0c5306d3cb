// The main window driven as an administrator would: the tree and its descriptions, the view filter, and the library
// commands on a temporary working folder, every question answered by the fake prompter.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "manager/ui/CReplaceOrRenameDlg.h"

#include "common/Files.h"
#include "gui/ColourRef.h"
#include "manager/ui/preferences/CPreferencesColorsPropertyPage.h"
#include "manager/ui/preferences/CPreferencesSheet.h"
#include "manager/core/ManagerSettings.h"
#include "manager/setups/LibraryCategory.h"
#include "tests/support/VariedLibrary.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <set>

using namespace kv;
using namespace kv::test;
using kv::manager::ui::NodeKind;
using kv::manager::ui::SetupBrowser;
using kv::manager::ui::SetupTree;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TEST_F(ManagerWindowTest, TreeLabelsDescriptionsColoursAndViewFilter) {
    const std::vector<WrittenSetup> written = writeVariedLibrary(work(), 36);
    // Two files that both name the setup "Twin": each node must lead to its own file.
    writeSetup("Twin", "m_csName=Twin\r\nm_csMapName=Cinder Pass\r\nm_csSetupDescription=first twin\r\n");
    writeSetup("Other", "m_csName=Twin\r\nm_csMapName=Cinder Pass\r\nm_csSetupDescription=second twin\r\n");
    openWindow();
    EXPECT_EQ(window->splash(), nullptr) << "the splash closes once the library is shown";
    EXPECT_TRUE(window->centralWidget()->isEnabled());

    std::multiset<std::string> expected;
    for (const WrittenSetup& w : written)
        expected.insert((w.tournament ? "Tournament Server Setups/" : "Standard Server Setups/") + w.category + "/" +
                        w.name);
    expected.insert("Standard Server Setups/Cinder Pass/Twin");
    expected.insert("Standard Server Setups/Cinder Pass/Twin");
    const std::vector<std::string> shownRows = rows();
    EXPECT_EQ(std::multiset<std::string>(shownRows.begin(), shownRows.end()), expected);
    EXPECT_TRUE(std::is_sorted(shownRows.begin(), shownRows.end()));
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), QStringLiteral("Standard Server Setups"));
    EXPECT_EQ(tree().topLevelItem(1)->text(0), QStringLiteral("Tournament Server Setups"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("38 server setups"));

    // Each node's kind, and each setup node's own file behind its description.
    select(QStringLiteral("Standard Server Setups"));
    EXPECT_EQ(description(), QString::fromUtf8(SetupBrowser::kRootHelp));
    EXPECT_FALSE(window->action("copySetup")->isEnabled());
    EXPECT_FALSE(window->button("generatePackageButton")->isEnabled());
    select(QStringLiteral("Cinder Pass"));
    EXPECT_EQ(SetupTree::kindOf(tree().currentItem()), NodeKind::Category);
    EXPECT_EQ(description(), QString::fromUtf8(SetupBrowser::kCategoryHelp));
    QTreeWidgetItem* cinder = tree().currentItem();
    std::set<std::string> twinDescriptions;
    for (int i = 0; i < cinder->childCount(); ++i) {
        if (cinder->child(i)->text(0) != QStringLiteral("Twin"))
            continue;
        tree().setCurrentItem(cinder->child(i));
        EXPECT_EQ(SetupTree::kindOf(cinder->child(i)), NodeKind::Setup);
        const std::string file = SetupTree::fileOf(cinder->child(i));
        EXPECT_TRUE(file == setupFile("Twin") || file == setupFile("Other")) << file;
        EXPECT_TRUE(description().contains(file == setupFile("Twin") ? QStringLiteral("first twin")
                                                                     : QStringLiteral("second twin")));
        twinDescriptions.insert(description().toStdString());
        EXPECT_TRUE(window->action("copySetup")->isEnabled());
        EXPECT_TRUE(window->button("emailSetupButton")->isEnabled());
    }
    EXPECT_EQ(twinDescriptions.size(), 2u);

    // Colours of the settings: the tree in the list colours, the description in the window's.
    const core::ManagerSettings& s = context.settings;
    EXPECT_EQ(tree().palette().color(QPalette::Text), gui::fromColourRef(s.listTextColor));
    EXPECT_EQ(tree().palette().color(QPalette::Base), gui::fromColourRef(s.listBgColor));
    EXPECT_EQ(window->browser()->description()->palette().color(QPalette::Text), gui::fromColourRef(s.textColor));
    // Options > Preferences: colours chosen on the Colors page; Cancel changes nothing, OK repaints at once and
    // stores them.
    auto choose = [this](bool ok) {
        prompter.colourAnswers = {QColor(10, 200, 30), QColor(1, 2, 3)};
        prompter.dialogHandler = [ok](QDialog& dialog) {
            auto& sheet = dynamic_cast<manager::ui::CPreferencesSheet&>(dialog);
            sheet.show(); // only pages that were shown store their values
            sheet.tabs()->setCurrentWidget(sheet.colorsPage());
            sheet.colorsPage()->button("listTextColor")->click();
            sheet.colorsPage()->button("monitorTextColor")->click();
            return ok && sheet.confirm();
        };
        window->action("preferences")->trigger();
    };
    const core::ManagerSettings before = s;
    choose(false);
    EXPECT_EQ(tree().palette().color(QPalette::Text), gui::fromColourRef(before.listTextColor));
    EXPECT_EQ(context.settings.listTextColor, before.listTextColor);
    choose(true);
    EXPECT_EQ(tree().palette().color(QPalette::Text), QColor(10, 200, 30));
    EXPECT_EQ(window->browser()->description()->palette().color(QPalette::Text), QColor(1, 2, 3));
    EXPECT_EQ(context.settings.listTextColor, core::colourRef(10, 200, 30));
    EXPECT_EQ(core::readManagerSettings(context.settingsFile, context.installation).listTextColor,
              core::colourRef(10, 200, 30));

    // The view filter: three exclusive choices; a setup under a hidden root stops being the selection.
    select(QStringLiteral("Twin"));
    QTreeWidgetItem* standard = tree().topLevelItem(0);
    QTreeWidgetItem* tournament = tree().topLevelItem(1);
    window->action("showTournament")->trigger();
    EXPECT_TRUE(standard->isHidden());
    EXPECT_FALSE(tournament->isHidden());
    EXPECT_EQ(tree().currentItem(), tournament);
    EXPECT_FALSE(window->action("copySetup")->isEnabled());
    EXPECT_FALSE(window->action("showAll")->isChecked());
    window->action("showStandard")->trigger();
    EXPECT_FALSE(standard->isHidden());
    EXPECT_TRUE(tournament->isHidden());
    EXPECT_TRUE(window->action("showStandard")->isChecked());
    EXPECT_FALSE(window->action("showTournament")->isChecked());
    window->action("showAll")->trigger();
    EXPECT_FALSE(standard->isHidden());
    EXPECT_FALSE(tournament->isHidden());
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_TRUE(prompter.questions.empty()) << "no greeting once FirstRun is 0";
}

TEST_F(ManagerWindowTest, TreeIsBuiltInSlicesAndSwappedInWhole) {
    guiApp();
    SetupTree tree;
    manager::ui::LibraryEntries entries;
    for (int i = 0; i < 3 * SetupTree::kSliceSize; ++i)
        entries.push_back({i % 2 ? setups::LibraryRoot::Tournament : setups::LibraryRoot::Standard,
                           "Category " + std::to_string(i % 7), "Setup " + std::to_string(i),
                           "/lib/" + std::to_string(i) + ".ServerConfig"});
    setups::sortEntries(entries);
    bool built = false;
    QObject::connect(&tree, &SetupTree::built, &tree, [&built] { built = true; });
    tree.showEntries(entries);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tree.building()) << "one event-loop turn builds one slice, not the whole library";
    EXPECT_EQ(tree.topLevelItemCount(), 0) << "a half-built tree is never shown";
    ASSERT_TRUE(pump([&built] { return built; }));
    EXPECT_EQ(tree.setupCount(), 3 * SetupTree::kSliceSize);
    EXPECT_EQ(tree.rootItem(setups::LibraryRoot::Standard)->childCount(), 7);
    EXPECT_EQ(tree.rootItem(setups::LibraryRoot::Tournament)->childCount(), 7);
    QTreeWidgetItem* item = tree.setupItem("/lib/9.ServerConfig");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0), QStringLiteral("Setup 9"));
    EXPECT_EQ(item->parent()->text(0), QStringLiteral("Category 2"));
    EXPECT_EQ(SetupTree::rootOf(item), setups::LibraryRoot::Tournament);
}

TEST_F(ManagerWindowTest, CopyTwiceAndDeleteActOnTheNodesOwnFile) {
    writeSetup("Base", "m_csName=Base\r\nm_csMapName=Cinder Pass\r\n");
    writeSetup("Twin", "m_csName=Twin\r\nm_csMapName=Harbor\r\nm_csSetupDescription=first twin\r\n");
    writeSetup("Other", "m_csName=Twin\r\nm_csMapName=Harbor\r\nm_csSetupDescription=second twin\r\n");
    openWindow();

    select(QStringLiteral("Base"));
    window->action("copySetup")->trigger();
    waitForTree();
    ASSERT_TRUE(fileExists(setupFile("Base (Copy)")));
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Base (Copy)"));
    EXPECT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("Base (Copy)"));
    EXPECT_TRUE(prompter.errors.empty());

    select(QStringLiteral("Base"));
    window->button("copySetupButton")->click();
    waitForTree();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("You have already made a copy of this server setup.  You must "
                                                      "rename the copy before creating another copy of it."));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Copy Already Exists"));
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Base (Copy)")) << "the existing copy is selected";

    // The copy of the second "Twin" comes from its own file.
    QTreeWidgetItem* harbor = node(QStringLiteral("Harbor"));
    ASSERT_NE(harbor, nullptr);
    for (int i = 0; i < harbor->childCount(); ++i)
        if (SetupTree::fileOf(harbor->child(i)) == setupFile("Other"))
            tree().setCurrentItem(harbor->child(i));
    ASSERT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("Other"));
    window->action("copySetup")->trigger();
    waitForTree();
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Twin (Copy)"));
    EXPECT_TRUE(description().contains(QStringLiteral("second twin")));

    // Delete: No keeps the file; Yes removes exactly the node's file and selects its category.
    const std::size_t errorsBefore = prompter.errors.size();
    harbor = node(QStringLiteral("Harbor")); // the tree was rebuilt
    ASSERT_NE(harbor, nullptr);
    for (int i = 0; i < harbor->childCount(); ++i)
        if (SetupTree::fileOf(harbor->child(i)) == setupFile("Other"))
            tree().setCurrentItem(harbor->child(i));
    prompter.answers = {false};
    window->action("deleteSetup")->trigger();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, QStringLiteral("Are you sure you want to delete the selected server setup?"));
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Delete Selected Server Setup"));
    EXPECT_TRUE(fileExists(setupFile("Other")));
    prompter.answers = {true};
    window->button("deleteSetupButton")->click();
    waitForTree();
    EXPECT_FALSE(fileExists(setupFile("Other")));
    EXPECT_TRUE(fileExists(setupFile("Twin")));
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Harbor"));
    EXPECT_EQ(SetupTree::kindOf(tree().currentItem()), NodeKind::Category);

    // The category's last setup gone: its root is selected.
    select(QStringLiteral("Base (Copy)"));
    prompter.answers = {true};
    window->action("deleteSetup")->trigger();
    waitForTree();
    select(QStringLiteral("Base"));
    prompter.answers = {true};
    window->action("deleteSetup")->trigger();
    waitForTree();
    EXPECT_EQ(node(QStringLiteral("Cinder Pass")), nullptr);
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Standard Server Setups"));
    EXPECT_EQ(prompter.errors.size(), errorsBefore);
    EXPECT_TRUE(prompter.informations.empty()) << "success needs no message";
}

TEST_F(ManagerWindowTest, ImportAsksReplaceOrRenameAndFailuresAreShown) {
    const std::string mine = dir.write("Downloads/Mine.ServerConfig", "m_csName=Mine\r\nm_csMapName=Harbor\r\n");
    openWindow();
    prompter.openAnswer = q(mine);
    window->action("addEmailedSetup")->trigger();
    waitForTree();
    EXPECT_EQ(prompter.dialogsRun, 0) << "a new name needs no question";
    EXPECT_EQ(prompter.openFilter, QStringLiteral("Server Setup Files (*.ServerConfig);;All Files (*)"));
    ASSERT_TRUE(fileExists(setupFile("Mine")));
    EXPECT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("Mine"));

    // The same name again: Cancel adds nothing, Replace copies over, Rename adds a dated setup.
    dir.write("Downloads/Mine.ServerConfig", "m_csName=Mine\r\nm_csMapName=Harbor\r\nm_iMaxPlayers=31\r\n");
    QStringList texts;
    std::string click = "cancel";
    prompter.dialogHandler = [&texts, &click](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        auto* d = dynamic_cast<manager::ui::CReplaceOrRenameDlg*>(&dialog);
        if (!d)
            return false;
        QPushButton* b = click == "replace"  ? d->replaceButton()
                         : click == "rename" ? d->renameButton()
                                             : d->cancelButton();
        b->click();
        return d->result() == QDialog::Accepted;
    };
    window->action("addEmailedSetup")->trigger();
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("The server setup you are trying to add already exists in your server "
                                                 "configuration list."),
                                  QStringLiteral("Would you like to replace the existing server setup or rename the "
                                                 "server setup you are trying to add so it includes today's date and "
                                                 "time?")}));
    EXPECT_EQ(*readFile(setupFile("Mine")), "m_csName=Mine\r\nm_csMapName=Harbor\r\n");

    click = "replace";
    window->action("addEmailedSetup")->trigger();
    waitForTree();
    EXPECT_NE(readFile(setupFile("Mine"))->find("m_iMaxPlayers=31"), std::string::npos);
    EXPECT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("Mine"));

    click = "rename";
    clock.seconds = localMoment(2026, 12, 6, 13, 5);
    window->action("addEmailedSetup")->trigger();
    waitForTree();
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Mine - Added 12-6-2026 at 1305"));
    EXPECT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("Mine - Added 12-6-2026 at 1305"));
    EXPECT_TRUE(prompter.errors.empty());

    // A file that is no setup is refused with a message, and nothing is added.
    const std::string junk = dir.write("Downloads/Junk.ServerConfig", "not a setup at all\n");
    prompter.openAnswer = q(junk);
    const std::size_t before = rows().size();
    window->action("addEmailedSetup")->trigger();
    waitForTree();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Add E-Mailed Server Setup"));
    EXPECT_TRUE(prompter.errors[0].text.contains(QStringLiteral("Junk")));
    EXPECT_FALSE(fileExists(setupFile("Junk")));
    EXPECT_EQ(rows().size(), before);
    EXPECT_TRUE(prompter.informations.empty());
}

TEST_F(ManagerWindowTest, GenerateAndEmailTheSelectedSetup) {
    writeSetup("Weekly", "m_csName=Weekly\r\nm_csMapName=Harbor\r\nm_csAdminPassword=s3cret\r\n"
                         "m_csPlayerPassword=join\r\n");
    writeSetup("Cup", "m_csName=Cup\r\nm_fTournamentModeEnabled=1\r\nm_csTournamentEventName=Spring\r\n"
                      "m_iMaxTeamSize=4\r\nm_csMapName=Harbor\r\nm_csAdminPassword=cupadmin\r\n");
    openWindow();
    const std::string generated = joinPath(context.documentsFolder, "Korvane Server Setups");

    select(QStringLiteral("Weekly"));
    prompter.answers = {true};
    window->action("generatePackage")->trigger();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text,
              QStringLiteral("Would you like to review the generated server setup configuration file?"));
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Review Generated INI File"));
    ASSERT_EQ(desktop.openedFiles.size(), 1u);
    EXPECT_EQ(desktop.openedFiles[0], q(joinPath(generated, "Weekly.ini")));
    EXPECT_TRUE(fileExists(joinPath(generated, "Weekly.ini")));

    prompter.answers = {false};
    window->button("generatePackageButton")->click();
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Generated File Location"));
    EXPECT_EQ(prompter.informations[0].text,
              QStringLiteral("The generated files have been created in your \"%1\" folder.").arg(q(generated)));
    EXPECT_EQ(desktop.openedFiles.size(), 1u);

    // E-mail: the generated files and the setup's own file, with the designed subject and body.
    select(QStringLiteral("Cup"));
    window->action("emailSetup")->trigger();
    ASSERT_EQ(desktop.mails.size(), 1u);
    const gui::MailMessage& mail = desktop.mails[0];
    EXPECT_EQ(mail.subject, QStringLiteral("Spring Tournament Cup Server Configuration Files"));
    const QByteArray body = mail.body.toUtf8();
    EXPECT_TRUE(body.startsWith("The attached files are for use with an Korvane Internet \"tournament mode\" server."
                                "\r\n\r\n"))
        << body.left(120).toStdString();
    EXPECT_TRUE(body.contains("load the file \"Cup.ServerConfig\" into it"));
    EXPECT_TRUE(body.contains("The administrator password for this server is \"cupadmin\".\r\n"));
    EXPECT_TRUE(body.contains("This server does not require a player password to join.\r\n"));
    QStringList attachments = mail.attachments;
    attachments.sort();
    EXPECT_EQ(attachments, (QStringList{q(joinPath(generated, "Cup.bat")), q(joinPath(generated, "Cup.ini")),
                                        q(joinPath(generated, "Cup.sh")), q(setupFile("Cup"))}));
    EXPECT_TRUE(prompter.errors.empty());

    desktop.mailResult = gui::MailResult::Missing;
    window->button("emailSetupButton")->click();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Required E-Mail Support Not Available"));
    EXPECT_TRUE(prompter.errors[0].text.startsWith(
        QStringLiteral("The required Internet E-Mail functionality could not be found on your system.  ")));
    EXPECT_TRUE(prompter.errors[0].text.contains(QStringLiteral("\n\nIf you do not want to have Outlook")));

    // A generation failure is a message, never the question or a mail.
    ASSERT_TRUE(removeFile(joinPath(work(), "ConfigurationTemplate.ini")));
    const std::size_t questions = prompter.questions.size();
    window->action("generatePackage")->trigger();
    window->action("emailSetup")->trigger();
    ASSERT_EQ(prompter.errors.size(), 3u);
    EXPECT_EQ(prompter.errors[1].caption, QStringLiteral("Required Configuration File Missing"));
    EXPECT_EQ(prompter.errors[2].caption, QStringLiteral("Required Configuration File Missing"));
    EXPECT_EQ(prompter.questions.size(), questions);
    EXPECT_EQ(desktop.mails.size(), 2u);
}

TEST_F(ManagerWindowTest, FirstRunGreetingOnceHideShowAndQuit) {
    writeSetup("Base", "m_csName=Base\r\nm_csMapName=Cinder Pass\r\n");
    context.settings.firstRun = 1;
    prompter.answers = {true};
    openWindow();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Welcome to Korvane Server Manager"));
    EXPECT_TRUE(prompter.questions[0].text.startsWith(QStringLiteral(
        "Welcome to Korvane Server Manager.  If this is the first time you've run this it is a good idea to review "
        "the \"Getting Started with Korvane Server Manager\" documentation.\n\nWould you like")));
    ASSERT_EQ(desktop.openedFiles.size(), 1u);
    EXPECT_EQ(desktop.openedFiles[0], q(joinPath(context.helpFolder, "GettingStarted.html")));
    EXPECT_EQ(core::readManagerSettings(context.settingsFile, context.installation).firstRun, 0);

    // The next start reads FirstRun=0 and does not ask again.
    context.settings = core::readManagerSettings(context.settingsFile, context.installation);
    window.reset();
    shown = false;
    openWindow();
    EXPECT_EQ(prompter.questions.size(), 1u);

    window->action("hideManager")->trigger();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(window->trayIcon()->isVisible());
    } else {
        EXPECT_TRUE(window->isMinimized());
    }
    window->showManager();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(window->trayIcon()->isVisible());

    int quitRequests = 0;
    QObject::connect(window.get(), &manager::ui::CKVServerManagerDlg::quitRequested, window.get(),
                     [&quitRequests] { ++quitRequests; });
    window->action("quit")->trigger();
    EXPECT_EQ(quitRequests, 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ManagerWindowTest, HostileLibraryLoadsAndShowsTheGoodSetups) {
    writeSetup("Good", "m_csName=Good\r\nm_csMapName=Harbor\r\n");
    writeSetup("Locked", "m_csName=Locked\r\n");
    ::chmod(setupFile("Locked").c_str(), 0);
    ASSERT_EQ(::mkfifo(setupFile("Pipe").c_str(), 0600), 0);
    ASSERT_TRUE(makeDirectories(setupFile("Folder")));
    std::string garbage(10 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    writeSetup("Garbage", garbage);
    writeSetup("Odd", std::string("m_csName=Caf\xc3\xa9 \x01\x7f\xff Bar\r\nm_csMapName=Harbor\r\n"));
    openWindow();

    QTreeWidgetItem* harbor = node(QStringLiteral("Harbor"));
    ASSERT_NE(harbor, nullptr);
    QTreeWidgetItem* odd = nullptr;
    for (int i = 0; i < harbor->childCount(); ++i)
        if (SetupTree::fileOf(harbor->child(i)) == setupFile("Odd"))
            odd = harbor->child(i);
    ASSERT_NE(odd, nullptr);
    EXPECT_TRUE(odd->text(0).startsWith(QStringLiteral("Caf\u00e9 ")));
    for (QChar c : odd->text(0))
        EXPECT_NE(c.category(), QChar::Other_Control) << "no control character reaches the label";
    EXPECT_NE(node(QStringLiteral("Good")), nullptr);
    for (const std::string& row : rows())
        EXPECT_TRUE(row.find("Pipe") == std::string::npos && row.find("Folder") == std::string::npos) << row;

    // A name that cannot be a file name cannot be copied: the refusal is a message, not a success.
    tree().setCurrentItem(odd);
    EXPECT_FALSE(description().isEmpty());
    window->action("copySetup")->trigger();
    waitForTree();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Copy Server Setup"));
    EXPECT_TRUE(prompter.informations.empty());
    ::chmod(setupFile("Locked").c_str(), 0600);
}
