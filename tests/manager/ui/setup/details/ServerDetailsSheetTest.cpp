// The setup details sheet: several pages edited in one pass and the saved file compared byte for byte with what the
// store writes for the expected record; rename, letter-case rename, name clashes and a failed write through the main
// window.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "manager/ui/setup/details/CServerDetailsPlayerAdminPropertyPage.h"
#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"
#include "manager/ui/setup/details/CServerDetailsServerNamePropertyPage.h"

#include "common/Files.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace kv;
using namespace kv::test;
using Sheet = kv::manager::ui::CServerDetailsPropertySheet;

namespace {

void visit(Sheet& sheet, Sheet::Page page) {
    sheet.tabs()->setCurrentIndex(page);
    QApplication::processEvents();
}

template <typename T> T* control(const Sheet& sheet, Sheet::Page page, const char* name) {
    T* found = sheet.page(page)->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

bool hasCaption(const std::vector<FakePrompter::Shown>& shown, const char* caption) {
    return std::any_of(shown.begin(), shown.end(),
                       [&](const auto& s) { return s.caption == QString::fromUtf8(caption); });
}

class ServerDetailsTest : public ManagerWindowTest {
protected:
    std::string bytesOf(const std::string& path) const { return readFile(path).value_or("<missing>"); }
    // The bytes the store writes for a record, in a folder of their own.
    std::string savedBytes(setups::ServerSetup setup) const {
        const setups::SetupStore store(dir.file("expected"));
        EXPECT_TRUE(store.save(setup));
        return bytesOf(store.pathFor(setup.m_csName));
    }
    std::vector<std::string> setupFiles() const { return listDirectory(joinPath(work(), "Server Setups")); }

    setups::MapTable maps = setups::MapTable::builtIn();
};

} // namespace

TEST_F(ServerDetailsTest, PagesWriteBackOnlyWhatWasChangedAndTheFileHoldsExactlyThat) {
    // A hand-edited file: values that no list offers, both game-mode flags, and a sparse group slot.
    const std::string file = writeSetup(
        "Alpha", "m_csName=Alpha\r\nm_csServerName=Old Server\r\nm_iMaxPlayers=31\r\nm_iServerRegion=40\r\n"
                 "m_csScoreMode=SSM_Custom\r\nm_fForceNormal=1\r\nm_fForceMiles=1\r\nm_iTournamentRoundDelayTime=37\r\n"
                 "m_fHUDHideRadar=1\r\nm_iRegion=9\r\nm_csPlayerAdminList=Ann&Bob\r\nm_aiLegalGroups[3]=7\r\n"
                 "m_acsMOTD[1]=Welcome\r\n");
    for (const char* league : {"Zulu League", "Alpine Cup", "."})
        dir.write(std::string("work/LeagueInfo/") + league + ".dat", "m_iMaxPlayers=12\r\n");
    setups::ServerSetup expected;
    ASSERT_TRUE(setups::SetupStore(work()).load(file, expected));

    Sheet sheet(context, prompter, desktop, maps, expected, file);
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Edit Server Setup Options"));
    ASSERT_EQ(sheet.tabs()->count(), 12);

    // General: pasted line breaks are dropped, the description keeps its lines.
    auto* serverName = control<QLineEdit>(sheet, Sheet::General, "serverName");
    serverName->clear();
    serverName->insert(QStringLiteral("New\r\nServer=1"));
    control<QPlainTextEdit>(sheet, Sheet::General, "setupDescription")->setPlainText(QStringLiteral("One\nTwo"));
    EXPECT_EQ(control<QComboBox>(sheet, Sheet::General, "serverRegion")->currentText(), QStringLiteral("40"));
    expected.m_csServerName = "NewServer=1";
    expected.m_csSetupDescription = "One\r\nTwo";

    // Match: the file's unknown scoreboard word is shown and kept; "Default Game Mode" clears both flags.
    visit(sheet, Sheet::Match);
    auto* mode = control<QComboBox>(sheet, Sheet::Match, "gameMode");
    EXPECT_EQ(mode->currentText(), QStringLiteral("Force MILES"));
    EXPECT_EQ(control<QComboBox>(sheet, Sheet::Match, "scoreMode")->currentText(), QStringLiteral("SSM_Custom"));
    mode->setCurrentIndex(0);
    expected.m_fForceNormal = expected.m_fForceMiles = 0;

    // Players: 31 players stays although the list ends at 26; the team size changes.
    visit(sheet, Sheet::Players);
    EXPECT_EQ(control<QComboBox>(sheet, Sheet::Players, "maxPlayers")->currentText(), QStringLiteral("31"));
    auto* team = control<QComboBox>(sheet, Sheet::Players, "maxTeamSize");
    team->setCurrentIndex(team->findText(QStringLiteral("6")));
    expected.m_iMaxTeamSize = 6;

    // Player admins: "&" cannot get in, removing asks, and the list goes to the default list of the preferences.
    visit(sheet, Sheet::PlayerAdmins);
    auto* admins = static_cast<manager::ui::CServerDetailsPlayerAdminPropertyPage*>(sheet.page(Sheet::PlayerAdmins));
    admins->nameField()->insert(QStringLiteral("Cy&d"));
    admins->addName();
    admins->list()->setCurrentRow(0);
    prompter.answers = {true};
    admins->removeSelected();
    EXPECT_EQ(prompter.questions.back().text,
              QStringLiteral("Are you sure you want to remove \"Ann\" from the list of Player Admins?"));
    admins->copyToDefault();
    EXPECT_EQ(
        prompter.informations.back().text,
        QStringLiteral("The following player admins were added to the default player admin list:\r\n\r\nBob\r\nCyd"));
    EXPECT_EQ(core::readManagerSettings(context.settingsFile, context.installation).defaultPlayerAdminList, "Bob&Cyd&");
    admins->copyToDefault();
    EXPECT_EQ(prompter.informations.back().caption,
              QStringLiteral("No New Player Admins Added to Default Player Admin List"));
    expected.m_csPlayerAdminList = "Bob&Cyd";

    // Tournament pages looked at only: league names sorted, the odd delay kept, and the notice on the teams page.
    visit(sheet, Sheet::Tournament);
    auto* league = control<QComboBox>(sheet, Sheet::Tournament, "leagueName");
    QStringList leagues;
    for (int i = 0; i < league->count(); ++i)
        leagues << league->itemText(i);
    // The shipped leagues are there too; every name sorted without regard to case.
    EXPECT_EQ(leagues.front(), QStringLiteral("(No League)"));
    EXPECT_TRUE(leagues.contains(QStringLiteral("Alpine Cup")) && leagues.contains(QStringLiteral("Zulu League")));
    EXPECT_EQ(leagues.back(), QStringLiteral("Zulu League"));
    EXPECT_EQ(control<QComboBox>(sheet, Sheet::Tournament, "roundDelay")->currentText(), QStringLiteral("0:37"));
    visit(sheet, Sheet::Teams);
    EXPECT_EQ(prompter.informations.back().caption, QStringLiteral("Tournament Mode Not Enabled"));
    visit(sheet, Sheet::Kick);

    ASSERT_TRUE(sheet.confirm());
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(bytesOf(file), savedBytes(expected));
    EXPECT_EQ(setupFiles(), std::vector<std::string>{"Alpha.ServerConfig"});
}

TEST_F(ServerDetailsTest, RenameFromTheMainWindowLeavesOneFileAndAFailedWriteLosesNothing) {
    writeSetup("Alpha", "m_csName=Alpha\r\nm_csServerName=First\r\n");
    writeSetup("beta", "m_csName=beta\r\nm_csServerName=Second\r\n");
    const std::string betaBytes = bytesOf(setupFile("beta"));
    openWindow();
    select(QStringLiteral("Alpha"));

    // Another setup's name in other letters is taken; the setup's own name in other letters is not.
    std::string alphaBytes;
    prompter.dialogHandler = [&](QDialog& dialog) {
        auto& sheet = static_cast<Sheet&>(dialog);
        sheet.show();
        QApplication::processEvents();
        QLineEdit* name = sheet.generalPage()->nameField();
        name->setText(QStringLiteral("BETA"));
        EXPECT_FALSE(sheet.confirm());
        EXPECT_EQ(prompter.errors.back().caption, QStringLiteral("Server Setup Name Already In Use"));
        name->setText(QStringLiteral("A.lpha"));
        EXPECT_FALSE(sheet.confirm());
        EXPECT_EQ(prompter.errors.back().caption, QStringLiteral("Invalid Server Setup"));
        name->setText(QStringLiteral("ALPHA"));
        return sheet.confirm();
    };
    window->action("editSetup")->trigger();
    waitForTree();
    EXPECT_EQ(setupFiles(), (std::vector<std::string>{"ALPHA.ServerConfig", "beta.ServerConfig"}));
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("ALPHA"));
    alphaBytes = bytesOf(setupFile("ALPHA"));
    EXPECT_NE(alphaBytes.find("m_csName=ALPHA\r\n"), std::string::npos);

    // A double click edits the node's own file. A name the file system refuses: reported, nothing lost, the sheet
    // stays open; then a real rename.
    prompter.dialogHandler = [&](QDialog& dialog) {
        auto& sheet = static_cast<Sheet&>(dialog);
        sheet.show();
        QApplication::processEvents();
        QLineEdit* name = sheet.generalPage()->nameField();
        name->setText(QString(300, u'x'));
        EXPECT_FALSE(sheet.confirm());
        EXPECT_EQ(prompter.errors.back().caption, QStringLiteral("Server Setup Not Saved"));
        EXPECT_EQ(setupFiles(), (std::vector<std::string>{"ALPHA.ServerConfig", "beta.ServerConfig"}));
        EXPECT_EQ(bytesOf(setupFile("ALPHA")), alphaBytes);
        name->setText(QStringLiteral("Gamma"));
        return sheet.confirm();
    };
    emit tree().itemActivated(tree().currentItem(), 0);
    waitForTree();
    EXPECT_EQ(setupFiles(), (std::vector<std::string>{"Gamma.ServerConfig", "beta.ServerConfig"}));
    EXPECT_EQ(tree().currentItem()->text(0), QStringLiteral("Gamma"));
    EXPECT_EQ(bytesOf(setupFile("beta")), betaBytes);

    // A file that names no setup does not open the sheet.
    const int runs = prompter.dialogsRun;
    const std::string broken = writeSetup("Broken", "m_csServerName=No name\r\n");
    EXPECT_FALSE(Sheet::edit(context, prompter, desktop, maps, broken, window.get()));
    EXPECT_EQ(prompter.dialogsRun, runs);
    EXPECT_TRUE(hasCaption(prompter.errors, "Edit Server Setup"));
}
