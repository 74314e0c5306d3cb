// The master ban list page and its add dialog.
#include "tests/manager/ui/preferences/PreferencesTestContext.h"

#include "manager/core/BanList.h"
#include "manager/ui/preferences/CMasterBanEntryDlg.h"
#include "manager/ui/preferences/CPreferencesMasterBanListPropertyPage.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <functional>

namespace kv::test {
namespace {

using manager::ui::CMasterBanEntryDlg;
using manager::ui::CPreferencesSheet;

using MasterBanListPage = PreferencesTest;

QStringList rowText(QTreeWidget* view, int row) {
    QStringList cells;
    for (int column = 0; column < view->columnCount(); ++column)
        cells << view->topLevelItem(row)->text(column);
    return cells;
}

// Answers the add dialog with `fill`, then presses "Add".
std::function<bool(QDialog&)> addWith(std::function<void(CMasterBanEntryDlg&)> fill) {
    return [fill = std::move(fill)](QDialog& dialog) {
        auto& add = dynamic_cast<CMasterBanEntryDlg&>(dialog);
        fill(add);
        return add.add();
    };
}

TEST_F(MasterBanListPage, ShowsTheFileOnOpeningInTheDesignedColumns) {
    dir.write("work/MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\nIP,192.0.2.7,2000000000,0,Moth\nMAC,00-11,0,0\n");
    CPreferencesSheet sheet(context, prompter, desktop);
    auto* page = sheet.masterBanListPage();
    EXPECT_EQ(page->view()->topLevelItemCount(), 0) << "read when first shown";
    visit(sheet, kBans);
    QTreeWidget* view = page->view();
    const QStringList headers{QStringLiteral("Ban Type"), QStringLiteral("Ban Value"), QStringLiteral("Ban Length"),
                              QStringLiteral("Player Name")};
    const int widths[] = {70, 120, 100, 120};
    ASSERT_EQ(view->columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(view->headerItem()->text(c), headers[c]);
        EXPECT_EQ(view->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(rowText(view, 0),
              (QStringList{QStringLiteral("IP"), QStringLiteral("192.0.2.7"),
                           QString::fromStdString(core::banLengthText(2000000000)), QStringLiteral("Moth")}));
    EXPECT_EQ(rowText(view, 1), (QStringList{QStringLiteral("NAME"), QStringLiteral("Raven"),
                                             QStringLiteral("Permanent"), QStringLiteral("Raven")}));
    EXPECT_EQ(page->masterFile(), context.workingFolder + "/MasterBanList.ini");
}

TEST_F(MasterBanListPage, RemoveIsEnabledWhileARowIsSelected) {
    dir.write("work/MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\nNAME,Moth,0,0,\"Moth\"\n");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kBans);
    auto* page = sheet.masterBanListPage();
    EXPECT_FALSE(page->removeButton()->isEnabled());
    page->view()->topLevelItem(1)->setSelected(true);
    ASSERT_TRUE(page->removeButton()->isEnabled());
    page->removeButton()->click();
    EXPECT_FALSE(page->removeButton()->isEnabled());
    ASSERT_EQ(page->banList().size(), 1u);
    EXPECT_EQ(page->banList()[0].value, "Moth");
    EXPECT_EQ(page->view()->topLevelItemCount(), 1);
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(MasterBanListPage, AnAddedEntryGoesOnTopAndIntoTheFileOnOk) {
    dir.write("work/MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\n");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kBans);
    auto* page = sheet.masterBanListPage();
    prompter.dialogHandler = addWith([](CMasterBanEntryDlg& d) {
        d.field("playerName")->setText(QStringLiteral("Moth"));
        d.choice("byIp")->click();
        d.field("playerIp")->setText(QStringLiteral(" 192.0.2.7 "));
        d.permanent()->setChecked(true);
    });
    page->addButton()->click();
    ASSERT_EQ(page->banList().size(), 2u);
    EXPECT_EQ(page->banList()[0], (core::BanEntry{"IP", "192.0.2.7", 0, "Moth"}));
    EXPECT_EQ(rowText(page->view(), 0).at(2), QStringLiteral("Permanent"));

    prompter.dialogHandler = nullptr; // cancelled
    page->addButton()->click();
    EXPECT_EQ(page->banList().size(), 2u);

    ASSERT_TRUE(sheet.confirm());
    EXPECT_EQ(readFile(masterFile()).value_or(""), "IP,192.0.2.7,0,0,\"Moth\"\nNAME,Raven,0,0,\"Raven\"\n");
}

TEST_F(MasterBanListPage, TheAddDialogStartsWithANameBanEndingNow) {
    CMasterBanEntryDlg dialog(clock.seconds, prompter, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add New Player Ban"));
    EXPECT_TRUE(dialog.choice("byName")->isChecked());
    EXPECT_TRUE(dialog.field("playerName")->isEnabled());
    EXPECT_FALSE(dialog.field("playerIp")->isEnabled());
    EXPECT_FALSE(dialog.field("playerMac")->isEnabled());
    EXPECT_FALSE(dialog.permanent()->isChecked());
    EXPECT_TRUE(dialog.endDate()->isEnabled());
    EXPECT_EQ(dialog.endDate()->dateTime().toSecsSinceEpoch(), clock.seconds);

    dialog.choice("byMac")->click();
    EXPECT_TRUE(dialog.field("playerMac")->isEnabled());
    EXPECT_FALSE(dialog.field("playerIp")->isEnabled());
    EXPECT_TRUE(dialog.field("playerName")->isEnabled()) << "the player name goes with every ban";
    dialog.permanent()->click();
    EXPECT_FALSE(dialog.endDate()->isEnabled());
}

TEST_F(MasterBanListPage, TheAddDialogRefusesWhatCannotBeStored) {
    CMasterBanEntryDlg dialog(clock.seconds, prompter, nullptr);
    EXPECT_FALSE(dialog.add()) << "empty name";
    dialog.field("playerName")->setText(QStringLiteral("Raven,Moth"));
    EXPECT_FALSE(dialog.add());
    dialog.field("playerName")->setText(QStringLiteral("Raven \"the Bold\""));
    EXPECT_FALSE(dialog.add());
    dialog.choice("byIp")->click();
    dialog.field("playerName")->setText(QStringLiteral("Raven"));
    dialog.field("playerIp")->setText(QStringLiteral("   "));
    EXPECT_FALSE(dialog.add()) << "blank address";
    ASSERT_EQ(prompter.errors.size(), 4u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("Enter the player name to ban."));
    EXPECT_TRUE(prompter.errors[1].text.contains(QStringLiteral("comma")));
    EXPECT_TRUE(prompter.errors[2].text.contains(QStringLiteral("double quote")));
    EXPECT_EQ(prompter.errors[3].text, QStringLiteral("Enter the player IP address to ban."));
    for (const auto& e : prompter.errors)
        EXPECT_EQ(e.caption, QStringLiteral("Ban Entry Not Added"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.field("playerIp")->setText(QStringLiteral("192.0.2.*"));
    EXPECT_TRUE(dialog.add());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.entry(), (core::BanEntry{"IP", "192.0.2.*", static_cast<std::int32_t>(clock.seconds), "Raven"}));
}

TEST_F(MasterBanListPage, TheEndingDateStopsAtTheEndOf32BitTime) {
    CMasterBanEntryDlg dialog(clock.seconds, prompter, nullptr);
    dialog.field("playerName")->setText(QStringLiteral("Raven"));
    dialog.endDate()->setDateTime(QDateTime::fromSecsSinceEpoch(2524608000)); // 2050
    EXPECT_LE(dialog.endDate()->dateTime().toSecsSinceEpoch(), INT32_MAX);
    EXPECT_EQ(dialog.endDate()->maximumDateTime().toSecsSinceEpoch(), INT32_MAX);
    dialog.endDate()->setDateTime(QDateTime::fromSecsSinceEpoch(0));
    EXPECT_GT(dialog.endDate()->dateTime().toSecsSinceEpoch(), 0) << "no date means permanent";
    ASSERT_TRUE(dialog.add());
    EXPECT_GT(dialog.entry().endTime, 0);

    // A clock past 2038 still opens the dialog on a date the file can hold.
    CMasterBanEntryDlg late(std::int64_t{4102444800}, prompter, nullptr);
    EXPECT_EQ(late.endDate()->dateTime().toSecsSinceEpoch(), INT32_MAX);
}

} // namespace
} // namespace kv::test
