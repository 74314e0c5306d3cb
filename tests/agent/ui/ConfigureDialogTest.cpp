// The settings dialogs as a user fills them in, and the values they hand back.
#include "agent/ui/CConfigureDlg.h"
#include "agent/ui/CConfigurePasswordDlg.h"
#include "agent/ui/ConfigureHelp.h"
#include "agent/ui/ConfigureValues.h"
#include "agent/ui/FirstRun.h"

#include "agent/SettingsFile.h"

#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include "common/Files.h"
#include "common/Md5.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::agent;
using namespace kv::agent::ui;

namespace {

class ConfigureDialog : public ::testing::Test {
protected:
    void SetUp() override { test::guiApp(); }
    test::FakePrompter prompter;
    test::TempDir dir;
};

TEST_F(ConfigureDialog, OpensWithTheSettingsAndTheHourDropDown) {
    AgentSettings s = AgentSettings::defaults();
    s.timeOfDayInMinutesToRestartServer = 150;
    s.serverIp = "10.1.2.3";
    s.activeControlFile = "Duel.Control";
    s.showMemoryUsage = true;
    CConfigureDlg dialog(ConfigureValues::fromSettings(s, "/found/game"), dir.path(), prompter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configure KVSM Remote Control Utility"));
    QComboBox* hour = dialog.restartHourBox();
    ASSERT_EQ(hour->count(), 24);
    EXPECT_EQ(hour->itemText(0), QStringLiteral("12 AM"));
    EXPECT_EQ(hour->itemText(1), QStringLiteral("1 AM"));
    EXPECT_EQ(hour->itemText(12), QStringLiteral("12 PM"));
    EXPECT_EQ(hour->itemText(23), QStringLiteral("11 PM"));
    EXPECT_EQ(hour->currentText(), QStringLiteral("2 AM"));
    EXPECT_EQ(dialog.field("gameFolder")->text(), QStringLiteral("/found/game"));
    EXPECT_EQ(dialog.field("serverIp")->text(), QStringLiteral("10.1.2.3"));
    EXPECT_TRUE(dialog.field("controlFile")->isReadOnly());
    EXPECT_TRUE(dialog.check("showMemoryUsage")->isChecked());
    EXPECT_FALSE(dialog.check("autoRestart")->isChecked());

    // Saved untouched: 150 minutes come back as 120, the password stays as it was.
    AgentSettings applied = s;
    EXPECT_FALSE(configure_values::applyBeforeRestart(dialog.values(), applied));
    EXPECT_EQ(applied.timeOfDayInMinutesToRestartServer, 120);
    EXPECT_EQ(applied.md5Password, s.md5Password);
    EXPECT_EQ(applied.gameServerPath, "/found/game");
}

TEST_F(ConfigureDialog, FieldsCarryTheirHelpTexts) {
    CConfigureDlg dialog(ConfigureValues::fromSettings(AgentSettings::defaults(), ""), dir.path(), prompter);
    struct {
        const char* field;
        std::string text;
    } expected[] = {{"serverIp", configure_help::serverIp()},
                    {"adminName", configure_help::adminName()},
                    {"gameFolder", configure_help::gameFolder()},
                    {"controlFile", configure_help::controlFile()},
                    {"honorPassword", configure_help::honorField("Honor Server Password")}};
    for (const auto& e : expected) {
        QLineEdit* field = dialog.field(e.field);
        ASSERT_NE(field, nullptr) << e.field;
        EXPECT_EQ(field->property("helpText").toString().toStdString(), e.text) << e.field;
        EXPECT_EQ(field->toolTipDuration(), 600000);
        EXPECT_TRUE(field->toolTip().contains(QStringLiteral("width=\"340\"")));
    }
    EXPECT_NE(dialog.button("changePassword")
                  ->property("helpText")
                  .toString()
                  .toStdString()
                  .find("If you do not wish to change the current password leave this field blank."),
              std::string::npos);
    EXPECT_EQ(dialog.check("showMemoryUsage")->property("helpText").toString().toStdString(),
              configure_help::showMemoryUsage());
    EXPECT_NE(configure_help::honorField("Honor Server User Name").find(settings_file::kHonorSiteHost),
              std::string::npos);

    CConfigurePasswordDlg password(prompter);
    EXPECT_EQ(password.windowTitle(), QStringLiteral("Set Password"));
    EXPECT_EQ(password.passwordField()->property("helpText").toString().toStdString(), configure_help::password(false));
}

TEST_F(ConfigureDialog, GameFolderCheckKeepsTheDialogOpen) {
    CConfigureDlg dialog(ConfigureValues::fromSettings(AgentSettings::defaults(), ""), dir.path(), prompter);
    dialog.field("gameFolder")->setText(QString::fromStdString(dir.file("nogame")));
    dialog.button("save")->click();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Korvane Game Folder Not Found"));
    EXPECT_TRUE(prompter.errors[0].text.startsWith(QStringLiteral("The path you have entered does not appear")));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // A folder with System/server.bin passes, with or without its trailing slash, and is stored without it.
    dir.write("game/System/server.bin", "#!/bin/sh\n");
    dialog.field("gameFolder")->setText(QString::fromStdString(dir.file("game") + "/"));
    dialog.button("save")->click();
    EXPECT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().gameFolder, dir.file("game"));

    // An empty folder passes: it is looked up at the next start.
    CConfigureDlg empty(ConfigureValues::fromSettings(AgentSettings::defaults(), ""), dir.path(), prompter);
    empty.field("gameFolder")->clear();
    EXPECT_TRUE(empty.save());
}

TEST_F(ConfigureDialog, ChangePasswordAndSelectFillTheirFields) {
    CConfigureDlg dialog(ConfigureValues::fromSettings(AgentSettings::defaults(), ""), dir.path(), prompter);
    prompter.dialogHandler = [](QDialog& d) {
        auto& password = dynamic_cast<CConfigurePasswordDlg&>(d);
        password.passwordField()->setText(QStringLiteral("s3cret pass"));
        return true;
    };
    dialog.button("changePassword")->click();
    EXPECT_EQ(dialog.values().password, "s3cret pass");
    prompter.dialogHandler = [](QDialog&) { return false; }; // cancelled: the entered password stays
    dialog.button("changePassword")->click();
    EXPECT_EQ(dialog.values().password, "s3cret pass");
    prompter.dialogHandler = [](QDialog& d) { // the default, which remote logins refuse, is not taken
        dynamic_cast<CConfigurePasswordDlg&>(d).passwordField()->setText(QStringLiteral("Gatepost"));
        return true;
    };
    dialog.button("changePassword")->click();
    EXPECT_EQ(dialog.values().password, "s3cret pass");
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text,
              QStringLiteral("The password was not changed: the password is the well-known default."));

    prompter.openAnswer = QStringLiteral("/somewhere/else/Night Match.Control");
    dialog.button("select")->click();
    EXPECT_EQ(dialog.field("controlFile")->text(), QStringLiteral("Night Match.Control"));
    EXPECT_EQ(prompter.openFolder, QString::fromStdString(dir.path()));
    EXPECT_EQ(prompter.openFilter, QStringLiteral("KVSM Server Control Files(*.Control);;All Files (*.*)"));
    prompter.openAnswer.clear();
    dialog.button("select")->click();
    EXPECT_EQ(dialog.field("controlFile")->text(), QStringLiteral("Night Match.Control"));
}

TEST_F(ConfigureDialog, SetPasswordRefusesAPasswordThatNoLoginCanCarry) {
    CConfigurePasswordDlg dialog(prompter);
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    dialog.passwordField()->setText(QString(64, QLatin1Char('p')));
    ok->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text, QStringLiteral("The password you have entered is too long.  Remote KVSM users "
                                                      "can only log in with a password of up to 62 characters.  "
                                                      "Please enter a shorter password."));
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Password Too Long"));

    // The longest password that logs in is taken.
    dialog.passwordField()->setText(QString(62, QLatin1Char('p')));
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.errors.size(), 1u);
}

TEST_F(ConfigureDialog, FirstRunSaveTakesItsOwnFieldsAndOnlyATypedGameFolder) {
    dir.write("found/System/server.bin", "#!/bin/sh\n");
    dir.write("typed/System/server.bin", "#!/bin/sh\n");
    dir.write("system.conf", "[Operations]\nInstallDir=" + dir.file("found") + "\n");
    AgentEnvironment env;
    env.workDir = dir.path();
    env.systemGameSettings = dir.file("system.conf");
    env.userGameSettings = dir.file("user.conf");
    const std::string file = dir.file(settings_file::kFileName);
    // Runs the first-run dialog filled by `fill` and reads back the file it wrote.
    auto firstRun = [&](const std::function<void(CConfigureDlg&)>& fill) {
        removeFile(file);
        prompter.dialogHandler = [&](QDialog& d) {
            auto& dialog = dynamic_cast<CConfigureDlg&>(d);
            fill(dialog);
            dialog.button("save")->click();
            return dialog.result() == QDialog::Accepted;
        };
        AgentSettings settings = AgentSettings::defaults();
        EXPECT_TRUE(runFirstRunDialog(settings, env, prompter));
        AgentSettings written = AgentSettings::defaults();
        EXPECT_EQ(settings_file::load(file, written), settings_file::LoadResult::Loaded);
        EXPECT_EQ(written, settings);
        return written;
    };

    // The found folder is shown but not written; fields that the first run does not take keep their defaults.
    const AgentSettings saved = firstRun([&](CConfigureDlg& dialog) {
        EXPECT_EQ(dialog.field("gameFolder")->text().toStdString(), dir.file("found"));
        dialog.field("adminName")->setText(QStringLiteral("Owner"));
        dialog.field("serverIp")->setText(QStringLiteral("192.0.2.7"));
        dialog.check("autoRestart")->setChecked(true);
        dialog.restartHourBox()->setCurrentIndex(4);
        dialog.field("honorUserName")->setText(QStringLiteral("ranked"));
        dialog.check("showMemoryUsage")->setChecked(true);
        dialog.check("createCsvMemoryLog")->setChecked(true);
    });
    AgentSettings expected = AgentSettings::defaults();
    expected.md5Password = md5Hex("Gatepost");
    expected.adminName = "Owner";
    expected.serverIp = "192.0.2.7";
    expected.timedAutoRestartServer = true;
    expected.timeOfDayInMinutesToRestartServer = 240;
    EXPECT_EQ(saved, expected);

    // A folder that the administrator typed is kept, without its trailing slash.
    const AgentSettings typed = firstRun([&](CConfigureDlg& dialog) {
        dialog.field("gameFolder")->setText(QString::fromStdString(dir.file("typed") + "/"));
    });
    EXPECT_EQ(typed.gameServerPath, dir.file("typed"));
}

TEST_F(ConfigureDialog, ApplyingKeepsTheSettingsFileWellFormed) {
    ConfigureValues v = ConfigureValues::fromSettings(AgentSettings::defaults(), "");
    v.adminName = "Boss\nPassword=pwned\r\nAdminName=other";
    v.honorServerUserName = std::string(3000, 'u') + "ServerIP=1.2.3.4";
    v.serverIp = std::string("10.0.0.1\0x", 10);
    v.controlFile = "duel.control\n";
    v.restartHour = 99;
    AgentSettings s = AgentSettings::defaults();
    s.activeControlFile = "Duel.Control";
    EXPECT_FALSE(configure_values::applyBeforeRestart(v, s)); // same file, other case: no restart
    EXPECT_EQ(s.adminName, "BossPassword=pwnedAdminName=other");
    EXPECT_EQ(s.serverIp, "10.0.0.1x");
    EXPECT_EQ(s.timeOfDayInMinutesToRestartServer, 23 * 60);

    // What was written reads back as the same settings.
    const std::string path = dir.file("KVSMRC.ini");
    ASSERT_TRUE(settings_file::save(path, s));
    AgentSettings back = AgentSettings::defaults();
    ASSERT_EQ(settings_file::load(path, back), settings_file::LoadResult::Loaded);
    EXPECT_EQ(back, s);

    v.password = "Fresh";
    v.controlFile = "Other.Control";
    EXPECT_TRUE(configure_values::applyBeforeRestart(v, s));
    EXPECT_EQ(s.md5Password, md5Hex("Fresh"));
    EXPECT_EQ(s.activeControlFile, "Other.Control");
}

} // namespace
