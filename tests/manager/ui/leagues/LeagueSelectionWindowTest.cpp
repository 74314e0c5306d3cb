// The League Selection window over the shipped leagues and a few files that must not be listed or loaded.
#include "manager/ui/leagues/CLeagueSelectionDlg.h"
#include "manager/ui/leagues/LeaguePageView.h"

#include "common/Files.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/ShippedData.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kv::test {
namespace {

using manager::ui::CLeagueSelectionDlg;

QStringList listed(const CLeagueSelectionDlg& dialog) {
    QStringList names;
    for (int i = 0; i < dialog.list()->count(); ++i)
        names << dialog.list()->item(i)->text();
    return names;
}

TEST(LeagueSelectionWindow, ListsShowsAndChoosesLeagues) {
    guiApp();
    TempDir dir;
    core::ManagerContext context;
    context.workingFolder = dir.file("work");
    setups::prepareWorkingFolder(context.workingFolder, KV_TEST_DATA_DIR);
    dir.write("work/LeagueInfo/alpha.dat", "m_iMaxPlayers=4\r\n");
    dir.write("work/LeagueInfo/alpha.html",
              "<html><head><link rel=\"stylesheet\" href=\"LeagueInfoStyle.css\"></head><body><p>Alpha rules</p>"
              "<img src=\"http://127.0.0.1:9/track.png\"><img src=\"../secret.png\"></body></html>");
    dir.write("work/LeagueInfo/bad\x01name.dat", "m_iMaxPlayers=4\r\n");
    dir.write("work/LeagueInfo/notes.txt", "not a league");
    makeDirectories(dir.file("work/LeagueInfo/Folder.dat"));
    const std::string secret = dir.write("work/secret.png", "outside the league folder");
    ASSERT_EQ(::symlink(secret.c_str(), dir.file("work/LeagueInfo/link.png").c_str()), 0);

    CLeagueSelectionDlg dialog(context);
    int accepted = 0;
    int help = 0;
    QObject::connect(&dialog, &QDialog::accepted, &dialog, [&accepted] { ++accepted; });
    QObject::connect(&dialog, &CLeagueSelectionDlg::helpRequested, &dialog, [&help] { ++help; });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("League Selection"));
    EXPECT_EQ(listed(dialog),
              (QStringList{QStringLiteral("alpha"), QStringLiteral("Harbor Ladder Standard"),
                           QStringLiteral("Iron Circuit 4v4"), QStringLiteral("Northern Frontier League 6v6")}));
    EXPECT_TRUE(dialog.page()->toPlainText().contains(QStringLiteral("Other/Non League")));

    dialog.selectButton()->click(); // nothing chosen yet
    EXPECT_EQ(accepted, 0);
    dialog.list()->setCurrentRow(0);
    EXPECT_EQ(dialog.page()->source(),
              QUrl::fromLocalFile(QString::fromStdString(dir.file("work/LeagueInfo/alpha.html"))));
    EXPECT_TRUE(dialog.page()->toPlainText().contains(QStringLiteral("Alpha rules")));

    // The page may load its own folder's files and nothing else.
    manager::ui::LeaguePageView& page = *dialog.page();
    EXPECT_TRUE(
        page.loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("LeagueInfoStyle.css"))).isValid());
    EXPECT_FALSE(page.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("http://127.0.0.1:9/track.png")))
                     .isValid());
    EXPECT_FALSE(page.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../secret.png"))).isValid());
    EXPECT_FALSE(page.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("link.png"))).isValid());
    EXPECT_FALSE(
        page.loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(QString::fromStdString(secret))).isValid());

    dialog.list()->setCurrentRow(2);
    EXPECT_TRUE(dialog.page()->toPlainText().contains(QStringLiteral("no radar, no compass")));
    dialog.helpButton()->click();
    EXPECT_EQ(help, 1);
    dialog.selectButton()->click();
    EXPECT_EQ(accepted, 1);
    const std::string chosen = dialog.chosenLeagueFile();
    EXPECT_EQ(chosen, dir.file("work/LeagueInfo/Iron Circuit 4v4.dat"));
    setups::ServerSetup league;
    setups::SetupStore(context.workingFolder).loadLeagueFile(chosen, league);
    EXPECT_EQ(league.m_csLeagueName, "Iron Circuit 4v4");
    EXPECT_EQ(league.m_iMaxPlayers, 8);
    EXPECT_EQ(league.m_fTournamentModeEnabled, 1);
    EXPECT_TRUE(league.mapAllowed("Underkeep"));
    EXPECT_FALSE(league.mapAllowed("Ashfall Quarry"));

    dialog.otherButton()->click();
    EXPECT_EQ(accepted, 2);
    EXPECT_EQ(dialog.chosenLeagueFile(), "");

    // Without a league folder: nothing listed, nothing shown, Select does nothing, Other/Non League goes on.
    context.workingFolder = dir.file("empty");
    CLeagueSelectionDlg none(context);
    QObject::connect(&none, &QDialog::accepted, &none, [&accepted] { ++accepted; });
    EXPECT_EQ(none.list()->count(), 0);
    EXPECT_TRUE(none.page()->toPlainText().isEmpty());
    none.selectButton()->click();
    EXPECT_EQ(accepted, 2);
    none.otherButton()->click();
    EXPECT_EQ(accepted, 3);
    EXPECT_EQ(none.chosenLeagueFile(), "");
}

} // namespace
} // namespace kv::test
