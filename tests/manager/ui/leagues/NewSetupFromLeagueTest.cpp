#include "tests/manager/ui/ManagerWindowFixture.h"

#include "common/Files.h"
#include "manager/setups/SetupStore.h"
#include "manager/ui/leagues/CLeagueSelectionDlg.h"
#include "manager/ui/setup/CNewServerSetupWizard.h"
#include "manager/ui/setup/CSelectNewServerTypeDlg.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kv::test {
namespace {

using namespace manager::ui;

// File > New Server Setup with the league choice on: the kind, then the League Selection window, then the wizard; the
// new setup follows the league's rules, is saved and selected in the tree. Cancelling the league window makes nothing.
TEST_F(ManagerWindowTest, NewSetupFromAShippedLeagueIsSavedAndSelected) {
    context.settings.showLeagueSelection = 1;
    context.settings.warnOnBlankPlayerPasswordDuringWizard = 0;
    openWindow();
    const std::string league = "Northern Frontier League 6v6"; // shipped, tournament mode
    int leagueWindows = 0;
    bool cancelLeague = true;
    prompter.defaultAnswer = true;
    prompter.dialogHandler = [&](QDialog& d) {
        if (auto* kind = qobject_cast<CSelectNewServerTypeDlg*>(&d)) {
            kind->choose(SetupKind::Tournament);
            return true;
        }
        if (auto* leagues = qobject_cast<CLeagueSelectionDlg*>(&d)) {
            ++leagueWindows;
            if (cancelLeague)
                return false;
            const auto rows = leagues->list()->findItems(QString::fromStdString(league), Qt::MatchExactly);
            EXPECT_EQ(rows.size(), 1);
            if (rows.empty())
                return false;
            leagues->list()->setCurrentItem(rows.front());
            leagues->selectButton()->click();
            return d.result() == QDialog::Accepted;
        }
        auto& w = dynamic_cast<CNewServerSetupWizard&>(d);
        w.show();
        w.restart();
        for (int page = 0; page < 40 && w.nextId() != -1; ++page) {
            if (auto* name = w.currentPage()->findChild<QLineEdit*>(QStringLiteral("setupName")))
                name->setText(QStringLiteral("League Night"));
            if (auto* password = w.currentPage()->findChild<QLineEdit*>(QStringLiteral("adminPassword")))
                password->setText(QStringLiteral("a-b1"));
            const int before = w.currentId();
            w.next();
            if (w.currentId() == before)
                ADD_FAILURE() << "the wizard stayed on page " << before;
        }
        w.button(QWizard::FinishButton)->click();
        return w.result() == QDialog::Accepted;
    };

    window->action("newSetup")->trigger();
    EXPECT_EQ(leagueWindows, 1);
    EXPECT_FALSE(fileExists(setupFile("League Night")));

    cancelLeague = false;
    window->action("newSetup")->trigger();
    waitForTree();
    ASSERT_TRUE(fileExists(setupFile("League Night")))
        << (prompter.errors.empty() ? "" : prompter.errors.back().text.toStdString());
    setups::ServerSetup saved;
    ASSERT_TRUE(setups::SetupStore(work()).load(setupFile("League Night"), saved));
    EXPECT_EQ(saved.m_csLeagueName, league);
    EXPECT_EQ(saved.m_fTournamentModeEnabled, 1);
    EXPECT_EQ(saved.m_csAdminPassword, "a-b1");
    ASSERT_NE(tree().currentItem(), nullptr);
    EXPECT_EQ(SetupTree::fileOf(tree().currentItem()), setupFile("League Night"));
}

} // namespace
} // namespace kv::test
