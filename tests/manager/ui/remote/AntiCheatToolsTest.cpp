// The anti-cheat windows against kvagent --headless on loopback, through the library built here: what the host
// stores after an edit, what a host without the file leads to, and how screenshots and logs are listed, fetched
// once and opened.
#include "manager/ui/remote/AntiCheatTools.h"
#include "manager/ui/remote/CConfigurePunkBusterServerOptions.h"
#include "manager/ui/remote/CPunkBusterOptionsDlg.h"
#include "manager/ui/remote/CPunkbusterConfigManagementDlg.h"
#include "manager/ui/remote/CPunkbusterCreateNewConfigurationDlg.h"
#include "manager/ui/remote/CRemoteServerPunkbusterScreenshotsDlg.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteBinding.h"
#include "tests/manager/ui/remote/RemoteWindowFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace std::chrono_literals;

namespace kv::manager::ui {
namespace {

using Files = CRemoteServerPunkbusterScreenshotsDlg;

QStringList texts(const QListWidget& list) {
    QStringList out;
    for (int r = 0; r < list.count(); ++r)
        out << list.item(r)->text();
    return out;
}

class AntiCheatTools : public RemoteWindowFixture {
protected:
    void SetUp() override {
        RemoteWindowFixture::SetUp();
        for (const char* folder : {"System/pb/svss", "System/pb/svlogs"})
            ASSERT_TRUE(makeDirectories(onHost(folder)));
    }

    // The host keeps its anti-cheat files under System/pb of its game folder.
    std::string onHost(const std::string& relative) { return joinPath(agent.host().gameFolder(), relative); }
    void hostFile(const std::string& relative, const std::string& bytes) {
        ASSERT_TRUE(writeFileAtomically(onHost(relative), bytes));
    }
    std::string copyOf(const std::string& file) const {
        return joinPath(context.workingFolder, "127.0.0.1_" + std::to_string(agent.port()) + "-" + file);
    }
    std::unique_ptr<Files> openFiles(Files::Mode mode) {
        auto dialog = std::make_unique<Files>(context, prompter, desktop, host(), mode, [] {});
        dialog->show();
        EXPECT_TRUE(settle([&] { return !dialog->busy(); }));
        return dialog;
    }
    void view(Files& dialog, const QString& name) {
        const QList<QTreeWidgetItem*> found = dialog.list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        dialog.selectRow(dialog.list()->indexOfTopLevelItem(found.front()));
        ASSERT_TRUE(dialog.viewButton()->isEnabled());
        dialog.viewButton()->click();
        ASSERT_TRUE(settle([&] { return !dialog.busy(); }));
    }
};

TEST_F(AntiCheatTools, AnEditedOptionFileReachesTheHostByteForByte) {
    hostFile("System/pb/pbsv.cfg", "PB_SV_SsWidth 320\r\nPB_SV_AutoSs 1\n");
    hostFile("System/pb/league.cfg", "x\n");
    hostFile("System/pb/bad name.cfg", "x\n");
    std::vector<const char*> pages;
    QStringList seen;
    prompter.dialogHandler = [&](QDialog& d) {
        d.show();
        seen << d.windowTitle();
        if (auto* options = dynamic_cast<CPunkBusterOptionsDlg*>(&d)) {
            options->button("configuration")->click();
        } else if (auto* list = dynamic_cast<CPunkbusterConfigManagementDlg*>(&d)) {
            EXPECT_TRUE(settle([list] { return !list->busy(); }));
            EXPECT_EQ(list->statusLine()->text(),
                      QStringLiteral("Available PunkBuster configurations index retrieved"));
            // The game folder comes with pbsvuser.cfg; "bad name.cfg" is no option file name.
            EXPECT_EQ(texts(*list->list()),
                      (QStringList{QStringLiteral("league.cfg"), QStringLiteral("pbsv.cfg"),
                                   QStringLiteral("pbsvgame.cfg"), QStringLiteral("pbsvuser.cfg")}));
            EXPECT_TRUE(list->allChoice()->isChecked());
            list->standardOnlyChoice()->click();
            EXPECT_EQ(texts(*list->list()), (QStringList{QStringLiteral("pbsv.cfg"), QStringLiteral("pbsvgame.cfg")}));
            EXPECT_FALSE(list->button("edit")->isEnabled());
            list->list()->setCurrentRow(0);
            EXPECT_TRUE(list->button("edit")->isEnabled());
            list->button("help")->click();
            list->button("edit")->click();
        } else if (auto* editor = dynamic_cast<CConfigurePunkBusterServerOptions*>(&d)) {
            EXPECT_TRUE(settle([editor] { return editor->textField()->isEnabled(); }));
            EXPECT_EQ(editor->statusLine()->text(), QStringLiteral("PB configuration retrieved."));
            EXPECT_EQ(editor->textField()->toPlainText(), QStringLiteral("PB_SV_SsWidth 320\nPB_SV_AutoSs 1\n"));
            EXPECT_EQ(editor->settingsList()->count(), 43);
            const QList<QListWidgetItem*> height =
                editor->settingsList()->findItems(QStringLiteral("PB_SV_SsHeight"), Qt::MatchExactly);
            EXPECT_EQ(height.size(), 1);
            editor->settingsList()->setCurrentItem(height.value(0));
            EXPECT_EQ(editor->descriptionBox()->toPlainText(),
                      QStringLiteral("Syntax:\nPB_SV_SsHeight [Pixels]\n\nDescription:\nThe height of a screen shot "
                                     "(default is 240 pixels)."));
            emit editor->settingsList()->itemDoubleClicked(height.value(0));
            // The appended line is selected: typing replaces it with the value.
            editor->textField()->insertPlainText(QStringLiteral("PB_SV_SsHeight 480 // 100% %s"));
            editor->button("ok")->click();
            EXPECT_TRUE(settle([editor] { return !editor->isVisible(); }));
        }
        return d.result() == QDialog::Accepted;
    };
    showAntiCheatOptions(
        context, prompter, desktop, host(), [&pages](const char* page) { pages.push_back(page); }, nullptr);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("PunkBuster (tm) Options"),
                                 QStringLiteral("PunkBuster (tm) Server Available Configurations"),
                                 QStringLiteral("PunkBuster(tm) Server pbsv.cfg Configuration")}));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_STREQ(pages[0], kAntiCheatOptionsHelp);
    const std::string sent = "PB_SV_SsWidth 320\nPB_SV_AutoSs 1\n\nPB_SV_SsHeight 480 // 100% %s\n";
    EXPECT_EQ(readFile(onHost("System/pb/pbsv.cfg")), sent) << agent.output();
    EXPECT_EQ(readFile(copyOf("pbsv.cfg")), sent); // the working copy carries the port, never a ':'
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Game Server Must Be Restarted"));
    EXPECT_TRUE(prompter.errors.empty());
}

TEST_F(AntiCheatTools, AHostWithoutTheFileNeverBringsBackAStaleLocalCopy) {
    ASSERT_TRUE(writeFileAtomically(copyOf("league2.cfg"), "stale text\n"));
    CConfigurePunkBusterServerOptions editor(context, prompter, host(), "league2.cfg", false, [] {});
    editor.show();
    EXPECT_FALSE(editor.textField()->isEnabled());
    ASSERT_TRUE(settle([&] { return editor.textField()->isEnabled(); }));
    EXPECT_EQ(editor.textField()->toPlainText(), QString());
    EXPECT_EQ(readFile(copyOf("league2.cfg") + ".old"), "stale text\n");

    // A line that would end the transfer early is refused before anything is sent.
    editor.textField()->setPlainText(QStringLiteral("PB_SV_Sleep 5\n[endoffile] more\n"));
    editor.button("ok")->click();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Configuration Not Sent"));
    EXPECT_TRUE(prompter.errors[0].text.startsWith(QStringLiteral("Line 2 ")));
    EXPECT_FALSE(editor.busy());
    EXPECT_FALSE(fileExists(onHost("System/pb/league2.cfg")));

    editor.textField()->setPlainText(QStringLiteral("PB_SV_Sleep 5"));
    editor.button("ok")->click();
    ASSERT_TRUE(settle([&] { return !editor.isVisible(); }));
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(onHost("System/pb/league2.cfg")), "PB_SV_Sleep 5\n");
    EXPECT_EQ(antiCheatUsageNote("league2.cfg").caption, std::string_view("PB Configuration Usage Instructions"));
}

TEST_F(AntiCheatTools, ScreenshotsAreListedFetchedOnceAndOpened) {
    hostFile("System/pb/svss/pb000001.png", "PNGDATA1");
    hostFile("System/pb/svss/pb000002.png", "PNG-TWO");
    std::unique_ptr<Files> dialog = openFiles(Files::Mode::Screenshots);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("PunkBuster(tm) Screenshots"));
    EXPECT_EQ(dialog->statusLine()->text(), QStringLiteral("PunkBuster screen shot index retrieved"));
    const QTreeWidget& list = *dialog->list();
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("PB File Name"));
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("Date/Time"));
    EXPECT_GE(list.columnWidth(0), 100);
    EXPECT_GE(list.columnWidth(1), 150);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_TRUE(list.topLevelItem(0)->text(1).contains(QStringLiteral(" at ")));
    EXPECT_EQ(dialog->viewButton()->text(), QStringLiteral("View Screenshot"));
    EXPECT_FALSE(dialog->viewButton()->isEnabled());

    const std::string cached = joinPath(context.workingFolder, "PBScreenshots/pb000001.png");
    view(*dialog, QStringLiteral("pb000001.png"));
    EXPECT_EQ(readFile(cached), "PNGDATA1");
    // The host's picture changes (same size): a second view opens the cached one without asking the host.
    hostFile("System/pb/svss/pb000001.png", "PNGDATA9");
    view(*dialog, QStringLiteral("pb000001.png"));
    EXPECT_EQ(readFile(cached), "PNGDATA1");
    ASSERT_EQ(desktop.openedFiles.size(), 2u);
    EXPECT_EQ(desktop.openedFiles[1], QString::fromStdString(cached));

    // An empty cached file is a broken fetch: fetched again. A viewer that cannot show it leads to the folder.
    const std::string second = joinPath(context.workingFolder, "PBScreenshots/pb000002.png");
    ASSERT_TRUE(writeFileAtomically(second, ""));
    desktop.result = false;
    view(*dialog, QStringLiteral("pb000002.png"));
    EXPECT_EQ(readFile(second), "PNG-TWO");
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("PNG File Format Not Supported/Configured"));
    ASSERT_EQ(desktop.openedFolders.size(), 1u);
    EXPECT_EQ(desktop.openedFolders[0], QString::fromStdString(joinPath(context.workingFolder, "PBScreenshots")));
}

TEST_F(AntiCheatTools, LogsShowTheirSizeInKilobytes) {
    hostFile("System/pb/svlogs/pb000003.log", std::string(1536, 'L'));
    std::unique_ptr<Files> dialog = openFiles(Files::Mode::Logs);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("PunkBuster(tm) Log Files"));
    EXPECT_EQ(dialog->statusLine()->text(), QStringLiteral("PunkBuster log index retrieved"));
    EXPECT_NE(dialog->findChild<QLabel*>(QStringLiteral("explanation")), nullptr);
    ASSERT_EQ(dialog->list()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog->list()->headerItem()->text(2), QStringLiteral("Size (K)"));
    EXPECT_EQ(dialog->list()->topLevelItem(0)->text(2), QStringLiteral("1.5K"));
    dialog->selectRow(0);
    emit dialog->list()->itemDoubleClicked(dialog->list()->topLevelItem(0), 0); // as the view button
    ASSERT_TRUE(settle([&] { return !desktop.openedFiles.empty(); }));
    EXPECT_EQ(readFile(joinPath(context.workingFolder, "PBLogs/pb000003.log")), std::string(1536, 'L'));

    // A host without logs.
    ASSERT_TRUE(removeFile(onHost("System/pb/svlogs/pb000003.log")));
    dialog->listFiles();
    ASSERT_TRUE(settle([&] { return !dialog->busy(); }));
    EXPECT_EQ(dialog->statusLine()->text(), QStringLiteral("No PunkBuster log files found"));
    EXPECT_FALSE(dialog->viewButton()->isEnabled());
}

TEST(AntiCheatNames, ANewNameNeedsLettersAndDigitsAndMatchesAKnownFile) {
    test::guiApp();
    test::FakePrompter prompter;
    CPunkbusterCreateNewConfigurationDlg ask(prompter);
    EXPECT_EQ(ask.windowTitle(), QStringLiteral("Create New PunkBuster(tm) Configuration"));
    EXPECT_FALSE(ask.okButton()->isEnabled()); // empty
    ask.nameField()->setText(QStringLiteral("League"));
    EXPECT_TRUE(ask.okButton()->isEnabled());
    ask.nameField()->setText(QStringLiteral("League 2"));
    ask.nameField()->setText(QStringLiteral("League 23"));
    EXPECT_FALSE(ask.okButton()->isEnabled());
    ASSERT_EQ(prompter.errors.size(), 1u); // said once while it stays invalid
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Invalid PunkBuster Configuration File Name"));
    EXPECT_EQ(prompter.errors[0].text,
              QStringLiteral("You may only use letters and numbers in your PunkBuster configuration file names."));
    ask.nameField()->setText(QString());
    EXPECT_FALSE(ask.okButton()->isEnabled());
    ask.nameField()->setText(QStringLiteral("League23"));
    EXPECT_TRUE(ask.okButton()->isEnabled());
    EXPECT_EQ(ask.fileName(), "League23.cfg");

    // Typing the name of a standard file edits that file rather than replacing it with an empty one.
    core::ManagerContext context; // no library: the listing ends at once with the standard names
    CPunkbusterConfigManagementDlg list(context, prompter, {"10.0.0.5", "admin", "pw"}, [] {});
    EXPECT_FALSE(list.busy());
    prompter.dialogHandler = [](QDialog& d) {
        static_cast<CPunkbusterCreateNewConfigurationDlg&>(d).nameField()->setText(QStringLiteral("PBSV"));
        return true;
    };
    list.button("new")->click();
    EXPECT_EQ(list.chosenFile(), "pbsv.cfg");
    EXPECT_FALSE(list.chosenIsNew());
}

} // namespace
} // namespace kv::manager::ui
