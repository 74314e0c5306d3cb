// The Options, Colors, Player Admin List and Honor Server pages, each as a user works it.
#include "tests/manager/ui/preferences/PreferencesTestContext.h"

#include "manager/ui/preferences/CIpAddressField.h"
#include "manager/ui/preferences/CPreferencesColorsPropertyPage.h"
#include "manager/ui/preferences/CPreferencesGeneralPropertyPage.h"
#include "manager/ui/preferences/CPreferencesHonorServerPropertyPage.h"
#include "manager/ui/preferences/CPreferencesPlayerAdminListPropertyPage.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QValidator>

namespace kv::test {
namespace {

using manager::ui::CIpAddressField;
using manager::ui::CPreferencesColorsPropertyPage;
using manager::ui::CPreferencesPlayerAdminListPropertyPage;
using manager::ui::CPreferencesSheet;
using Colour = CPreferencesColorsPropertyPage::Colour;

using PreferencesPages = PreferencesTest;

TEST_F(PreferencesPages, BrowseTakesTheChosenProgramsFolder) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kOptions);
    auto* page = sheet.generalPage();
    prompter.openAnswer = QStringLiteral("/games/Korvane/System/server.bin");
    page->button("browse")->click();
    EXPECT_EQ(prompter.openFilter, QStringLiteral("KV Server Program (server.bin);;All Files (*)"));
    EXPECT_EQ(prompter.openFolder, QStringLiteral("/opt/korvane/System"));
    EXPECT_EQ(page->field("serverLocation")->text(), QStringLiteral("/games/Korvane/System"));

    prompter.openAnswer.clear(); // cancelled
    page->button("browse")->click();
    EXPECT_EQ(page->field("serverLocation")->text(), QStringLiteral("/games/Korvane/System"));

    ASSERT_TRUE(page->button("defaultLocation")->isEnabled());
    page->button("defaultLocation")->click();
    EXPECT_EQ(page->field("serverLocation")->text(), QStringLiteral("/opt/korvane/System"));
}

TEST_F(PreferencesPages, DefaultIsDisabledWithoutAnInstalledGame) {
    context.installation = {};
    context.settings.serverLocation = "/somewhere/System";
    CPreferencesSheet sheet(context, prompter, desktop);
    EXPECT_FALSE(sheet.generalPage()->button("defaultLocation")->isEnabled());
    EXPECT_EQ(sheet.generalPage()->field("serverLocation")->text(), QStringLiteral("/somewhere/System"));
}

TEST_F(PreferencesPages, ChosenColoursShowOnTheSamplesAtOnce) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kColors);
    auto* page = sheet.colorsPage();
    prompter.colourAnswers = {QColor(10, 20, 30), QColor(200, 100, 50, 128)};
    page->button("monitorBgColor")->click();
    ASSERT_EQ(prompter.coloursAsked.size(), 1u);
    EXPECT_EQ(prompter.coloursAsked[0].initial, QColor(29, 42, 48));
    EXPECT_EQ(page->monitorSample()->palette().color(QPalette::Window), QColor(10, 20, 30));
    page->button("listTextColor")->click();
    EXPECT_EQ(page->listSample()->palette().color(QPalette::Text), QColor(200, 100, 50)) << "no alpha";

    page->button("listBgColor")->click(); // cancelled: no answer left
    EXPECT_EQ(page->colour(Colour::ListBackground), QColor(0, 0, 0));
    EXPECT_EQ(prompter.coloursAsked.size(), 3u);

    page->button("restoreDefaultColors")->click();
    EXPECT_EQ(page->monitorSample()->palette().color(QPalette::Window), QColor(29, 42, 48));
    EXPECT_EQ(page->listSample()->palette().color(QPalette::Text), QColor(241, 194, 0));
}

TEST_F(PreferencesPages, PlayerAdminsAreSortedAndStoredWithAnAmpersandEach) {
    context.settings.defaultPlayerAdminList = "Moth&kite&";
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kAdmins);
    auto* page = sheet.playerAdminPage();
    EXPECT_EQ(page->names(), (QStringList{QStringLiteral("kite"), QStringLiteral("Moth")}));
    EXPECT_FALSE(page->addButton()->isEnabled());
    EXPECT_FALSE(page->removeButton()->isEnabled());

    for (const QString& name : {QStringLiteral("Ash"), QStringLiteral("Raven"), QStringLiteral("Raven")}) {
        page->nameField()->setText(name);
        ASSERT_TRUE(page->addButton()->isEnabled());
        page->addButton()->click();
        EXPECT_TRUE(page->nameField()->text().isEmpty());
        EXPECT_FALSE(page->addButton()->isEnabled());
    }
    EXPECT_EQ(page->names(), (QStringList{QStringLiteral("Ash"), QStringLiteral("kite"), QStringLiteral("Moth"),
                                          QStringLiteral("Raven"), QStringLiteral("Raven")}));
    ASSERT_TRUE(sheet.confirm());
    QSettings store(QString::fromStdString(context.settingsFile), QSettings::IniFormat);
    EXPECT_EQ(store.value(QStringLiteral("Options/DefaultPlayerAdminList")).toString(),
              QStringLiteral("Ash&kite&Moth&Raven&Raven&"));
}

TEST_F(PreferencesPages, ReturnInTheNameFieldAddsTheName) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kAdmins);
    auto* page = sheet.playerAdminPage();
    page->nameField()->setText(QStringLiteral("Moth"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(page->nameField(), &press);
    EXPECT_EQ(page->names(), QStringList{QStringLiteral("Moth")});
    EXPECT_TRUE(sheet.isVisible());
}

TEST_F(PreferencesPages, ANameWithAnAmpersandCannotBeAdded) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kAdmins);
    auto* page = sheet.playerAdminPage();
    page->nameField()->setText(QStringLiteral("Salt&Pepper"));
    EXPECT_FALSE(page->addButton()->isEnabled());
    EXPECT_TRUE(page->hint()->isVisibleTo(page));
    page->addButton()->click();
    page->addName();
    EXPECT_EQ(page->list()->count(), 0);
    page->nameField()->setText(QStringLiteral("Salt"));
    EXPECT_TRUE(page->addButton()->isEnabled());
    EXPECT_FALSE(page->hint()->isVisibleTo(page));
}

TEST_F(PreferencesPages, RemoveAsksFirst) {
    context.settings.defaultPlayerAdminList = "Moth&Raven&";
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kAdmins);
    auto* page = sheet.playerAdminPage();
    page->list()->item(1)->setSelected(true);
    ASSERT_TRUE(page->removeButton()->isEnabled());

    prompter.answers = {false, true};
    page->removeButton()->click();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text,
              QStringLiteral("Are you sure you want to remove \"Raven\" from your default list of Player "
                             "Administrators?"));
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Remove Player Admin"));
    EXPECT_EQ(page->list()->count(), 2);
    EXPECT_TRUE(page->removeButton()->isEnabled());

    page->removeButton()->click();
    EXPECT_EQ(page->names(), QStringList{QStringLiteral("Moth")});
    EXPECT_FALSE(page->removeButton()->isEnabled());
}

TEST(PlayerAdminList, SplitsAtAmpersandsAndJoinsWithOneAfterEachName) {
    using Page = CPreferencesPlayerAdminListPropertyPage;
    EXPECT_EQ(Page::splitNames("a&b&&c"), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_TRUE(Page::splitNames("").isEmpty());
    EXPECT_EQ(Page::joinNames({QStringLiteral("a"), QStringLiteral("a")}), "a&a&");
    EXPECT_EQ(Page::joinNames({}), "");
}

TEST_F(PreferencesPages, AnHonorAddressWithThreePartsShowsZeroInTheLast) {
    context.settings.authServerUserName = "harbor";
    context.settings.authServerPassword = "s3cret";
    context.settings.authServerIP = "10.20.30";
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kHonor);
    auto* page = sheet.honorServerPage();
    CIpAddressField* address = page->address();
    EXPECT_EQ(address->octet(0)->text(), QStringLiteral("10"));
    EXPECT_EQ(address->octet(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(page->userName()->text(), QStringLiteral("harbor"));
    EXPECT_EQ(page->password()->text(), QStringLiteral("s3cret"));
    ASSERT_TRUE(sheet.confirm());
    EXPECT_EQ(sheet.settings().authServerIP, "10.20.30.0");
}

TEST(IpAddressField, PartsAreTakenModulo256AndMissingPartsAreZero) {
    EXPECT_EQ(CIpAddressField::octetsOf("192.0.2.10"), (std::array<int, 4>{192, 0, 2, 10}));
    EXPECT_EQ(CIpAddressField::octetsOf("300.-1.x.7.9"), (std::array<int, 4>{44, 255, 0, 7}));
    EXPECT_EQ(CIpAddressField::octetsOf("1"), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_EQ(CIpAddressField::octetsOf(" 12abc..4"), (std::array<int, 4>{12, 0, 4, 0}));
}

TEST_F(PreferencesPages, AnUntouchedEmptyHonorAddressStaysEmpty) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kHonor);
    CIpAddressField* address = sheet.honorServerPage()->address();
    EXPECT_TRUE(address->isBlank());
    ASSERT_TRUE(sheet.confirm());
    EXPECT_EQ(sheet.settings().authServerIP, "");

    address->octet(0)->setText(QStringLiteral("10"));
    EXPECT_EQ(address->addressText(), "10.0.0.0");
    // A box takes nothing but an octet.
    QString typed = QStringLiteral("256");
    int position = 3;
    EXPECT_EQ(address->octet(1)->validator()->validate(typed, position), QValidator::Invalid);
    typed = QStringLiteral("255");
    EXPECT_EQ(address->octet(1)->validator()->validate(typed, position), QValidator::Acceptable);
    typed = QStringLiteral("1.");
    EXPECT_EQ(address->octet(1)->validator()->validate(typed, position), QValidator::Invalid);
}

} // namespace
} // namespace kv::test
