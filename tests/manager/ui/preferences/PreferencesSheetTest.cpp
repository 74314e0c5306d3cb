// The preferences sheet as a whole: its pages, OK that writes everything or nothing, Cancel, and help.
#include "tests/manager/ui/preferences/PreferencesTestContext.h"

#include "manager/core/BanList.h"
#include "manager/ui/preferences/CIpAddressField.h"
#include "manager/ui/preferences/CMasterBanEntryDlg.h"
#include "manager/ui/preferences/CPreferencesColorsPropertyPage.h"
#include "manager/ui/preferences/CPreferencesGeneralPropertyPage.h"
#include "manager/ui/preferences/CPreferencesHonorServerPropertyPage.h"
#include "manager/ui/preferences/CPreferencesMasterBanListPropertyPage.h"
#include "manager/ui/preferences/CPreferencesPlayerAdminListPropertyPage.h"

#include "gui/ColourRef.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTreeWidget>

#include <sys/stat.h>

namespace kv::test {
namespace {

using manager::ui::CPreferencesColorsPropertyPage;
using manager::ui::CPreferencesSheet;
using Colour = CPreferencesColorsPropertyPage::Colour;

class PreferencesSheet : public PreferencesTest {
protected:
    QPushButton* sheetButton(CPreferencesSheet& sheet, const char* name) {
        return sheet.buttons()->findChild<QPushButton*>(QString::fromUtf8(name));
    }
    QVariant stored(const char* key) {
        QSettings store(QString::fromStdString(context.settingsFile), QSettings::IniFormat);
        return store.value(QStringLiteral("Options/") + QString::fromUtf8(key));
    }
};

TEST_F(PreferencesSheet, AFirstStartShowsTheDefaults) {
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kOptions);
    auto* general = sheet.generalPage();
    for (const char* field : {"defAdminName", "defAdminEmail", "defAdminPassword", "defServerName"})
        EXPECT_TRUE(general->field(field)->text().isEmpty()) << field;
    EXPECT_EQ(general->field("serverLocation")->text(), QStringLiteral("/opt/korvane/System"));
    for (const char* check : {"warnOnBlankPlayerPassword", "showLeagueSelection", "showRunLocalServerHelp",
                              "enableMapCheck", "enableCodeCheck"})
        EXPECT_TRUE(general->check(check)->isChecked()) << check;
    EXPECT_FALSE(general->check("includeServerName")->isChecked());

    visit(sheet, kColors);
    auto* colours = sheet.colorsPage();
    EXPECT_EQ(colours->colour(Colour::MonitorText), QColor(250, 245, 199));
    EXPECT_EQ(colours->colour(Colour::MonitorBackground), QColor(29, 42, 48));
    // Amber text on black for the setup list sample.
    EXPECT_EQ(colours->listSample()->palette().color(QPalette::Text), QColor(241, 194, 0));
    EXPECT_EQ(colours->listSample()->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(colours->monitorSample()->palette().color(QPalette::WindowText), QColor(250, 245, 199));
    EXPECT_EQ(colours->monitorSample()->palette().color(QPalette::Window), QColor(29, 42, 48));

    visit(sheet, kAdmins);
    EXPECT_EQ(sheet.playerAdminPage()->list()->count(), 0);
    visit(sheet, kBans);
    EXPECT_EQ(sheet.masterBanListPage()->view()->topLevelItemCount(), 0);
    visit(sheet, kHonor);
    EXPECT_TRUE(sheet.honorServerPage()->userName()->text().isEmpty());
    EXPECT_TRUE(sheet.honorServerPage()->address()->isBlank());
}

TEST_F(PreferencesSheet, OkWritesAllNineteenValuesOwnerOnly) {
    prompter.colourAnswers = {QColor(1, 2, 3), QColor(4, 5, 6), QColor(7, 8, 9), QColor(10, 11, 12)};
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kOptions);
    auto* general = sheet.generalPage();
    general->field("defAdminName")->setText(QStringLiteral("Raven"));
    general->field("defAdminEmail")->setText(QStringLiteral("raven@example.org"));
    general->field("defAdminPassword")->setText(QStringLiteral("correct horse"));
    general->field("defServerName")->setText(QStringLiteral("Harbor Duels"));
    general->field("serverLocation")->setText(QStringLiteral("/games/korvane/System"));
    general->check("showLeagueSelection")->click();
    general->check("includeServerName")->click();
    general->check("enableCodeCheck")->click();
    visit(sheet, kColors);
    for (const char* button : {"monitorTextColor", "monitorBgColor", "listTextColor", "listBgColor"})
        sheet.colorsPage()->button(button)->click();
    visit(sheet, kAdmins);
    sheet.playerAdminPage()->nameField()->setText(QStringLiteral("Moth"));
    sheet.playerAdminPage()->addButton()->click();
    visit(sheet, kHonor);
    sheet.honorServerPage()->userName()->setText(QStringLiteral("harbor"));
    sheet.honorServerPage()->password()->setText(QStringLiteral("s3cret"));
    sheet.honorServerPage()->address()->setAddressText("192.0.2.10");

    sheetButton(sheet, "ok")->click();
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_FALSE(sheet.isVisible());

    const struct {
        const char* key;
        QVariant value;
    } expected[] = {
        {"ShowLeagueSelection", 0},
        {"ShowRunLocalServerHelp", 1},
        {"SecurityEnableCodeCheck", 0},
        {"SecurityEnableMapCheck", 1},
        {"WarnOnBlankPlayerPasswordDuringWizard", 1},
        {"DefAdminEmail", QStringLiteral("raven@example.org")},
        {"DefAdminName", QStringLiteral("Raven")},
        {"DefAdminPassword", QStringLiteral("correct horse")},
        {"DefServerName", QStringLiteral("Harbor Duels")},
        {"ServerLocation", QStringLiteral("/games/korvane/System")},
        {"DefaultPlayerAdminList", QStringLiteral("Moth&")},
        {"IncludeServerNameInSetupNames", 1},
        {"TextColor", static_cast<qlonglong>(gui::toColourRef(QColor(1, 2, 3)))},
        {"BGColor", static_cast<qlonglong>(gui::toColourRef(QColor(4, 5, 6)))},
        {"ListTextColor", static_cast<qlonglong>(gui::toColourRef(QColor(7, 8, 9)))},
        {"ListBGColor", static_cast<qlonglong>(gui::toColourRef(QColor(10, 11, 12)))},
        {"AuthServerUserName", QStringLiteral("harbor")},
        {"AuthServerPassword", QStringLiteral("s3cret")},
        {"AuthServerIP", QStringLiteral("192.0.2.10")},
    };
    QSettings store(QString::fromStdString(context.settingsFile), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Options"));
    EXPECT_EQ(store.childKeys().size(), 19);
    for (const auto& e : expected) {
        const QVariant value = store.value(QString::fromUtf8(e.key));
        ASSERT_TRUE(value.isValid()) << e.key;
        EXPECT_EQ(value.toString(), e.value.toString()) << e.key;
    }
    struct stat st {};
    ASSERT_EQ(::stat(context.settingsFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // The caller takes these over; FirstRun is not the sheet's and stays as it was.
    EXPECT_EQ(sheet.settings().defAdminName, "Raven");
    EXPECT_EQ(sheet.settings().listBgColor, gui::toColourRef(QColor(10, 11, 12)));
    EXPECT_EQ(sheet.settings().firstRun, context.settings.firstRun);
    // The master ban list page was never shown: its file was neither read nor written.
    EXPECT_FALSE(fileExists(masterFile()));
}

TEST_F(PreferencesSheet, CancelAfterRestoringDefaultColoursWritesNothing) {
    context.settings.textColor = 0x00112233;
    context.settings.listBgColor = 0x00445566;
    dir.write("work/MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\n");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kColors);
    sheet.colorsPage()->button("restoreDefaultColors")->click();
    EXPECT_EQ(sheet.colorsPage()->colour(Colour::MonitorText), QColor(250, 245, 199));
    EXPECT_EQ(sheet.colorsPage()->listSample()->palette().color(QPalette::Base), QColor(0, 0, 0));
    visit(sheet, kOptions);
    sheet.generalPage()->field("defServerName")->setText(QStringLiteral("Changed"));
    visit(sheet, kBans);
    sheet.masterBanListPage()->view()->topLevelItem(0)->setSelected(true);
    sheet.masterBanListPage()->removeButton()->click();

    sheetButton(sheet, "cancel")->click();
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_FALSE(fileExists(context.settingsFile));
    EXPECT_EQ(readFile(masterFile()).value_or(""), "NAME,Raven,0,0,\"Raven\"\n");
    EXPECT_EQ(sheet.settings().textColor, 0x00112233u);
    EXPECT_EQ(sheet.settings().defServerName, "");
}

TEST_F(PreferencesSheet, PagesNeverShownKeepTheirValues) {
    context.settings.textColor = 0x00112233;
    context.settings.defaultPlayerAdminList = "b&&a&"; // would come back sorted, without the empty name
    context.settings.authServerIP = "1.2.3";           // would come back as 1.2.3.0
    // The merge would drop the short line and turn the order round: the file must stay as it is.
    const std::string master = "NAME,Raven,0,0\nNAME,Moth,0,0,\"Moth\"\nIP,192.0.2.7,0,0,Kite\n";
    dir.write("work/MasterBanList.ini", master);
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kOptions);
    sheet.generalPage()->field("defAdminName")->setText(QStringLiteral("Raven"));
    ASSERT_TRUE(sheet.confirm());

    EXPECT_EQ(stored("DefAdminName").toString(), QStringLiteral("Raven"));
    EXPECT_EQ(stored("TextColor").toLongLong(), 0x00112233);
    EXPECT_EQ(stored("DefaultPlayerAdminList").toString(), QStringLiteral("b&&a&"));
    EXPECT_EQ(stored("AuthServerIP").toString(), QStringLiteral("1.2.3"));
    EXPECT_EQ(readFile(masterFile()).value_or(""), master);
    EXPECT_FALSE(sheet.colorsPage()->wasShown());
    EXPECT_TRUE(sheet.generalPage()->wasShown());
}

TEST_F(PreferencesSheet, AShownMasterListIsWrittenTopToBottom) {
    dir.write("work/MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\nIP,192.0.2.7,2000000000,0,Moth\n");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kBans);
    sheetButton(sheet, "ok")->click();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(masterFile()).value_or(""), "IP,192.0.2.7,2000000000,0,\"Moth\"\nNAME,Raven,0,0,\"Raven\"\n");
    EXPECT_TRUE(listDirectory(context.workingFolder) == std::vector<std::string>{"MasterBanList.ini"});
}

TEST_F(PreferencesSheet, AnUnwritableWorkingFolderKeepsTheSheetOpenAndTheSettingsUntouched) {
    const std::string settings = "[Options]\nDefAdminName=Old\n";
    dir.write("config/Valdren/Korvane.conf", settings);
    rereadSettings();
    // Even root cannot create a file below a regular file.
    dir.write("blocker", "not a folder");
    context.workingFolder = dir.file("blocker/work");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kOptions);
    sheet.generalPage()->field("defAdminName")->setText(QStringLiteral("New"));
    visit(sheet, kBans);
    sheetButton(sheet, "ok")->click();

    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text,
              QStringLiteral("The Master Ban List could not be saved.  Your disk may be low on space."));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Master Ban List Not Saved"));
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_NE(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(context.settingsFile).value_or(""), settings);
    EXPECT_EQ(sheet.settings().defAdminName, "Old");
}

TEST_F(PreferencesSheet, AnUnwritableSettingsFileLeavesTheMasterListUntouched) {
    const std::string master = "NAME,Raven,0,0,\"Raven\"\n";
    dir.write("work/MasterBanList.ini", master);
    dir.write("blocker", "not a folder");
    context.settingsFile = dir.file("blocker/Korvane.conf");
    CPreferencesSheet sheet(context, prompter, desktop);
    visit(sheet, kBans);
    sheet.masterBanListPage()->insertAtTop(core::BanEntry{"IP", "192.0.2.7", 0, "Moth"});
    sheetButton(sheet, "ok")->click();

    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Preferences Not Saved"));
    EXPECT_TRUE(prompter.errors[0].text.contains(QString::fromStdString(context.settingsFile)))
        << prompter.errors[0].text.toStdString();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(readFile(masterFile()).value_or(""), master);
    // No staged file is left behind.
    EXPECT_TRUE(listDirectory(context.workingFolder) == std::vector<std::string>{"MasterBanList.ini"});
}

TEST_F(PreferencesSheet, EveryHelpLinkOpensItsOwnPageOrSaysWhyNot) {
    CPreferencesSheet sheet(context, prompter, desktop);
    const char* const topics[] = {"PreferencesOptions", "PreferencesColors", "PreferencesPlayerAdminList",
                                  "PreferencesMasterBanList", "PreferencesHonorServer"};
    auto opened = [this](const char* topic) {
        return !desktop.openedFiles.empty() &&
               desktop.openedFiles.back() == QString::fromStdString(context.helpFolder + "/" + topic + ".html");
    };
    for (int i = 0; i < 5; ++i) {
        visit(sheet, i);
        sheetButton(sheet, "help")->click();
        EXPECT_TRUE(opened(topics[i])) << topics[i];
    }
    // "Learn More" opens our own page on the honor server, never a web address.
    sheet.honorServerPage()->learnMoreButton()->click();
    EXPECT_TRUE(opened("HonorServer"));
    EXPECT_TRUE(desktop.openedUrls.empty());
    // The add dialog of the master list has the master list's topic.
    visit(sheet, kBans);
    prompter.dialogHandler = [](QDialog& dialog) {
        dynamic_cast<manager::ui::CMasterBanEntryDlg&>(dialog).button("help")->click();
        return false;
    };
    sheet.masterBanListPage()->addButton()->click();
    EXPECT_TRUE(opened("PreferencesMasterBanList"));
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_TRUE(sheet.isVisible());

    context.helpFolder.clear();
    CPreferencesSheet without(context, prompter, desktop);
    visit(without, kColors);
    const std::size_t before = desktop.openedFiles.size();
    without.showHelp();
    EXPECT_EQ(desktop.openedFiles.size(), before);
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Help Not Available"));
}

TEST_F(PreferencesSheet, EveryHelpTopicIsWritten) {
    const std::string help = std::string(KV_TEST_DATA_DIR) + "/../docs/help/";
    for (const QString& topic : {manager::ui::help_topic::kOptions, manager::ui::help_topic::kColors,
                                 manager::ui::help_topic::kPlayerAdminList, manager::ui::help_topic::kMasterBanList,
                                 manager::ui::help_topic::kHonorServer, manager::ui::help_topic::kAboutHonorServer})
        EXPECT_TRUE(fileExists(help + topic.toStdString() + ".html")) << topic.toStdString();
}

} // namespace
} // namespace kv::test
