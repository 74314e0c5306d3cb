// The custom league window walked from the main window's command: the proposed name, refused names, a failed write
// that keeps the window open, the files written, and replacing a league whose name differs only in case.
#include "manager/ui/leagues/CLeagueConfigurationCreationDlg.h"
#include "manager/ui/leagues/CLeagueSelectionDlg.h"

#include "common/Files.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/SetupWriter.h"
#include "tests/manager/ui/ManagerWindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kv::test {
namespace {

using manager::ui::CLeagueConfigurationCreationDlg;

constexpr const char* kExpectedPage =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
    "<html>\n"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"LeagueInfoStyle.css\">\n"
    "<title></title>\n"
    "</head>\n"
    "<body>\n"
    "<p><b><i>Test &amp; &lt;b&gt;</i></b></p>\n"
    "<p>Rules: &lt;script&gt;alert(1)&lt;/script&gt;<BR>A &amp; B<BR><BR>&quot;quoted&quot;</p>\n"
    "</body>\n"
    "</html>\n";

class CustomLeagueWindowTest : public ManagerWindowTest {};

TEST_F(CustomLeagueWindowTest, SavesTheSelectedSetupAsACustomLeague) {
    writeSetup("Club Night",
               "m_csName=Club Night\r\nm_csLeagueName=XL\r\nm_fTournamentModeEnabled=1\r\n"
               "m_iMaxPlayers=13\r\nm_iRoundsPerMatch=3\r\nm_iRoundLength=10\r\nm_csAdminPassword=s3cret\r\n"
               "m_acsMOTD[0]=Welcome\r\nm_csSetupDescription=Fridays & Saturdays<BR>Bring \"friends\"\r\n");
    openWindow();
    QAction* command = window->action("createCustomLeague");
    ASSERT_NE(command, nullptr);
    EXPECT_FALSE(command->isEnabled()); // a root is selected, not a setup
    select(QStringLiteral("Club Night"));
    ASSERT_TRUE(command->isEnabled());

    const std::string leagues = joinPath(work(), "LeagueInfo");
    const std::string datFile = joinPath(leagues, "(Custom) Test & <b>.dat");
    const std::string htmlFile = joinPath(leagues, "(Custom) Test & <b>.html");
    ASSERT_TRUE(makeDirectories(datFile)); // a folder where the league file belongs: writing it fails
    int accepted = 0;
    prompter.dialogHandler = [&](QDialog& d) {
        auto& dialog = dynamic_cast<CLeagueConfigurationCreationDlg&>(d);
        QObject::connect(&dialog, &QDialog::accepted, &dialog, [&accepted] { ++accepted; });
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Custom League Configuration"));
        EXPECT_EQ(dialog.nameField()->text(), QStringLiteral("XL (TM) 6v6 3 rounds 10 minutes"));
        EXPECT_TRUE(dialog.descriptionField()->toPlainText().contains(
            QStringLiteral("Fridays & Saturdays\nBring \"friends\"")));

        for (const char* refused : {"   ", "a/b", "tab\there"}) {
            dialog.nameField()->setText(QString::fromUtf8(refused));
            dialog.saveButton()->click();
        }
        dialog.nameField()->setText(QStringLiteral(" Test & <b> "));
        dialog.descriptionField()->setPlainText(
            QStringLiteral("Rules: <script>alert(1)</script>\nA & B\n\n\"quoted\""));
        dialog.saveButton()->click();
        EXPECT_EQ(accepted, 0);
        EXPECT_TRUE(removeTree(datFile));
        dialog.saveButton()->click();
        return accepted == 1;
    };
    command->trigger();
    EXPECT_EQ(accepted, 1);
    ASSERT_EQ(prompter.errors.size(), 4u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("You must enter a name for this league configuration."));
    EXPECT_EQ(prompter.errors[1].caption, QStringLiteral("Invalid League Configuration Name"));
    EXPECT_EQ(prompter.errors[2].caption, QStringLiteral("Invalid League Configuration Name"));
    EXPECT_TRUE(prompter.errors[3].text.startsWith(
        QString::fromStdString("The league configuration file " + datFile + " could not be written.")));
    EXPECT_TRUE(prompter.questions.empty());

    setups::ServerSetup setup;
    ASSERT_TRUE(setups::SetupStore(work()).load("Club Night", setup));
    setup.m_csLeagueName = "(Custom) Test & <b>";
    const auto dat = readFile(datFile);
    EXPECT_EQ(dat, setups::writeSetupText(setup, setups::SetupForm::League));
    EXPECT_EQ(dat->find("m_csLeagueName=(Custom) Test & <b>\r\nm_csScoreMode=SSM_On\r\nm_acsMOTD[0]=Welcome\r\n"), 0u);
    EXPECT_EQ(dat->find("s3cret"), std::string::npos);
    EXPECT_EQ(readFile(htmlFile), kExpectedPage);

    // The same name in other letters is the same league: asked first, No writes nothing, Yes replaces it in place.
    prompter.answers = {false, true};
    prompter.dialogHandler = [&](QDialog& d) {
        auto& dialog = dynamic_cast<CLeagueConfigurationCreationDlg&>(d);
        QObject::connect(&dialog, &QDialog::accepted, &dialog, [&accepted] { ++accepted; });
        dialog.nameField()->setText(QStringLiteral("TEST & <B>"));
        dialog.descriptionField()->setPlainText(QStringLiteral("Second"));
        dialog.saveButton()->click();
        EXPECT_EQ(accepted, 1);
        EXPECT_EQ(readFile(htmlFile), kExpectedPage);
        dialog.saveButton()->click();
        EXPECT_EQ(dialog.savedTitle(), "(Custom) Test & <b>");
        return accepted == 2;
    };
    command->trigger();
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Overwrite Existing League Configuration"));
    EXPECT_NE(readFile(htmlFile)->find("<p><b><i>TEST &amp; &lt;B&gt;</i></b></p>\n<p>Second</p>"), std::string::npos);
    EXPECT_FALSE(fileExists(joinPath(leagues, "(Custom) TEST & <B>.dat")));

    manager::ui::CLeagueSelectionDlg selection(context);
    EXPECT_EQ(selection.list()->findItems(QStringLiteral("(Custom) Test & <b>"), Qt::MatchExactly).size(), 1);
}

} // namespace
} // namespace kv::test
