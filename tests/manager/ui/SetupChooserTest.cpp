// The setup chooser: the same tree and description as the main window, a refusal without a setup, and the chosen
// setup's own file.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "manager/ui/CSelectServerSetupDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace kv;
using namespace kv::test;
using kv::manager::ui::CSelectServerSetupDlg;
using kv::manager::ui::SetupTree;

TEST_F(ManagerWindowTest, ChooserRefusesWithoutASetupAndReturnsTheChosenFile) {
    writeSetup("Twin", "m_csName=Twin\r\nm_csMapName=Harbor\r\nm_csSetupDescription=first twin\r\n");
    writeSetup("Other", "m_csName=Twin\r\nm_csMapName=Harbor\r\nm_csSetupDescription=second twin\r\n");
    writeSetup("Cup", "m_csName=Cup\r\nm_fTournamentModeEnabled=1\r\nm_iMaxTeamSize=4\r\n");
    CSelectServerSetupDlg dialog(context, prompter,
                                 QStringLiteral("Harbor\x01"
                                                "Box"),
                                 QStringLiteral("192.0.2.7"));
    EXPECT_EQ(dialog.windowTitle(),
              QStringLiteral("Select Server Setup To Add To Remote Server Harbor\uFFFDBox (192.0.2.7)"));
    SetupTree& tree = *dialog.browser()->tree();
    ASSERT_TRUE(pump([&dialog] { return !dialog.browser()->reloading(); }));
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.rootItem(setups::LibraryRoot::Tournament)->child(0)->text(0), QStringLiteral("4 on 4 Tournaments"));

    dialog.show();
    tree.setCurrentItem(tree.rootItem(setups::LibraryRoot::Standard));
    dialog.okButton()->click();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("You must select a setup to add to the server."));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("No Server Setup Selected"));
    EXPECT_TRUE(dialog.isVisible()) << "the chooser stays open";
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    QTreeWidgetItem* other = tree.setupItem(setupFile("Other"));
    ASSERT_NE(other, nullptr);
    tree.setCurrentItem(other);
    EXPECT_TRUE(dialog.browser()->description()->toPlainText().contains(QStringLiteral("second twin")));
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenName(), "Twin");
    EXPECT_EQ(dialog.chosenFile(), setupFile("Other"));
    EXPECT_EQ(prompter.errors.size(), 1u);
}
