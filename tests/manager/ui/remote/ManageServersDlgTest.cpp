#include "manager/ui/remote/CEditServerDlg.h"
#include "manager/ui/remote/CManageServersDlg.h"

#include "common/Files.h"
#include "manager/ui/preferences/CIpAddressField.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kv::manager::ui {
namespace {

using remote::RemoteServerEntry;

class ManageServers : public ::testing::Test {
protected:
    void SetUp() override { test::guiApp(); }

    std::string fileText() const { return readFile(dir.file("RemoteServerConfig.ini")).value_or("<none>"); }
    void writeList(const std::string& text) const { dir.write("RemoteServerConfig.ini", text); }

    // The editor as the administrator fills it in, then "Save" (or "Cancel" when `save` is false).
    std::function<bool(QDialog&)> editWith(std::function<void(CEditServerDlg&)> fill, bool save = true) {
        return [this, fill = std::move(fill), save](QDialog& dialog) {
            auto& editor = dynamic_cast<CEditServerDlg&>(dialog);
            editorCaption = editor.windowTitle();
            fill(editor);
            if (!save)
                return false;
            editor.button("save")->click();
            return editor.result() == QDialog::Accepted;
        };
    }
    static void fill(CEditServerDlg& d, const char* name, const char* address, const char* admin,
                     const char* password) {
        d.field("serverName")->setText(QString::fromUtf8(name));
        d.address()->setAddressText(address);
        d.field("adminName")->setText(QString::fromUtf8(admin));
        d.field("password")->setText(QString::fromUtf8(password));
    }

    test::TempDir dir;
    test::FakePrompter prompter;
    QString editorCaption;
    int helpOpened = 0;
    std::function<void()> help = [this] { ++helpOpened; };
};

TEST_F(ManageServers, ShowsTheFileNewestFirstWithTheDesignedColumnsAndButtons) {
    writeList("Server=Alpha,192.0.2.1,admin,a1\nServer=Bravo,192.0.2.2,root,b2\n");
    CManageServersDlg dlg(dir.path(), prompter, help);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Manage Remote Servers"));
    QTreeWidget* list = dlg.list();
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Server Name"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("IP Address"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Admin Name"));
    EXPECT_EQ(list->columnWidth(0), 150);
    EXPECT_EQ(list->headerItem()->text(3), QStringLiteral("Status"));
    EXPECT_EQ(list->columnWidth(1), 120);
    EXPECT_EQ(list->columnWidth(2), 120);
    EXPECT_EQ(list->columnCount(), 4);       // the password is never shown
    EXPECT_EQ(dlg.statusText(0), QString()); // no library given: nobody is asked
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Bravo"));
    EXPECT_EQ(list->topLevelItem(1)->text(2), QStringLiteral("admin"));
    for (const char* name : {"control", "add", "edit", "remove", "close", "help"})
        ASSERT_NE(dlg.button(name), nullptr) << name;
    EXPECT_EQ(dlg.button("control")->text(), QStringLiteral("Control Server"));
    EXPECT_EQ(dlg.button("remove")->text(), QStringLiteral("Remove Server"));

    // Nothing selected: only adding, closing and help.
    EXPECT_FALSE(dlg.button("edit")->isEnabled());
    EXPECT_FALSE(dlg.button("remove")->isEnabled());
    EXPECT_FALSE(dlg.button("control")->isEnabled());
    dlg.selectRow(1);
    EXPECT_TRUE(dlg.button("edit")->isEnabled());
    EXPECT_TRUE(dlg.button("remove")->isEnabled());
    // No remote control window exists yet: the button says so instead of pretending.
    EXPECT_FALSE(dlg.button("control")->isEnabled());
    EXPECT_FALSE(dlg.button("control")->toolTip().isEmpty());
    dlg.list()->itemDoubleClicked(dlg.list()->topLevelItem(0), 0);
    EXPECT_TRUE(fileText() != "<none>"); // nothing closed it

    dlg.button("help")->click();
    EXPECT_EQ(helpOpened, 1);
    dlg.button("close")->click();
    EXPECT_EQ(fileText(), "Server=Bravo,192.0.2.2,root,b2\nServer=Alpha,192.0.2.1,admin,a1\n");
}

TEST_F(ManageServers, AddEditAndRemoveAsTheAdministratorDoesAndTheFileIsWrittenOnClose) {
    auto dlg = std::make_unique<CManageServersDlg>(dir.path(), prompter, help);
    EXPECT_EQ(dlg->list()->topLevelItemCount(), 0);

    prompter.dialogHandler = editWith([](CEditServerDlg& d) { fill(d, "Harbor Cup", "300.1", "ref", "pw"); });
    dlg->button("add")->click();
    EXPECT_EQ(editorCaption, QStringLiteral("Edit Remote Control Server Access"));
    ASSERT_EQ(dlg->rows().size(), 1u);
    EXPECT_EQ(dlg->rows()[0], (RemoteServerEntry{"Harbor Cup", "44.1.0.0", "ref", "pw"}));
    prompter.dialogHandler = editWith([](CEditServerDlg& d) { fill(d, "Second", "192.0.2.9", "adm", "x"); });
    dlg->button("add")->click();
    EXPECT_EQ(dlg->list()->topLevelItem(0)->text(0), QStringLiteral("Second")); // new rows at the top
    EXPECT_TRUE(dlg->button("edit")->isEnabled());                              // the new row is selected

    // Changing only the name and address says nothing; changing the login says it must be updated on the agent.
    dlg->selectRow(1);
    prompter.dialogHandler = editWith([](CEditServerDlg& d) {
        EXPECT_EQ(d.field("password")->text(), QStringLiteral("pw")); // unmasked, filled from the row
        EXPECT_EQ(d.field("password")->echoMode(), QLineEdit::Normal);
        d.field("serverName")->setText(QStringLiteral("Harbor Final"));
    });
    dlg->button("edit")->click();
    EXPECT_TRUE(prompter.informations.empty());
    EXPECT_EQ(dlg->rows()[1].serverName, "Harbor Final");
    prompter.dialogHandler = editWith([](CEditServerDlg& d) { d.field("password")->setText(QStringLiteral("pW")); });
    dlg->button("edit")->click();
    ASSERT_EQ(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Server Remote Control Must Be Updated"));
    EXPECT_EQ(prompter.informations[0].text,
              QStringLiteral("You have changed the server remote control login information.  The server remote "
                             "control must be contacted and updated with the new information."));
    EXPECT_EQ(dlg->rows()[1].password, "pW");
    prompter.dialogHandler =
        editWith([](CEditServerDlg& d) { d.field("adminName")->setText(QStringLiteral("x")); }, false);
    dlg->button("edit")->click();
    EXPECT_EQ(dlg->rows()[1].adminName, "ref"); // cancelled

    // Remove asks first; No keeps the row.
    dlg->selectRow(0);
    prompter.answers = {false, true};
    dlg->button("remove")->click();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, QStringLiteral("Are you sure you want to remove the server \"Second\" from "
                                                         "the remotely controlled server list?"));
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Remove Server From List"));
    EXPECT_EQ(dlg->rows().size(), 2u);
    dlg->button("remove")->click();
    EXPECT_EQ(dlg->rows().size(), 1u);
    EXPECT_FALSE(dlg->button("remove")->isEnabled());
    EXPECT_EQ(fileText(), "<none>"); // written only on closing

    dlg.reset(); // a window destroyed while open saves too
    EXPECT_EQ(fileText(), "Server=Harbor Final,44.1.0.0,ref,pW\n");
    dlg = std::make_unique<CManageServersDlg>(dir.path(), prompter, help);
    prompter.answers = {true};
    dlg->selectRow(0);
    dlg->button("remove")->click();
    dlg->show();
    dlg->close(); // the close box
    EXPECT_EQ(fileText(), "");
}

TEST_F(ManageServers, ClosingTheWindowSavesWhatItShows) {
    CManageServersDlg dlg(dir.path(), prompter, help);
    prompter.dialogHandler = editWith([](CEditServerDlg& d) { fill(d, "Solo", "198.51.100.4", "adm", "s3cret!"); });
    dlg.button("add")->click();
    dlg.reject(); // Escape and the close box end here
    EXPECT_EQ(fileText(), "Server=Solo,198.51.100.4,adm,s3cret!\n");
    // What was saved reads back as it was entered.
    CManageServersDlg again(dir.path(), prompter, help);
    ASSERT_EQ(again.rows().size(), 1u);
    EXPECT_EQ(again.rows()[0], (RemoteServerEntry{"Solo", "198.51.100.4", "adm", "s3cret!"}));
}

TEST_F(ManageServers, TheEditorRefusesWhatTheFileCouldNotGiveBack) {
    CEditServerDlg editor(prompter, help);
    const struct {
        const char* name;
        const char* address;
        const char* admin;
        const char* password;
        const char* expected;
    } refused[] = {
        {"", "192.0.2.1", "adm", "pw", "Enter the server name."},
        {"Name", "", "adm", "pw", "Enter the server IP address."},
        {"Name", "192.0.2.1", "", "pw", "Enter the admin name."},
        {"A,B", "192.0.2.1", "adm", "pw", "The server name cannot hold a comma or a line break."},
        {"Name", "192.0.2.1", "ad\nm", "pw", "The admin name cannot hold a comma or a line break."},
        {"Name", "192.0.2.1", "adm", "p,w", "The password cannot hold a comma or a line break."},
        {"Name", "192.0.2.1", "adm", "pw\r", "The password cannot hold a comma or a line break."},
    };
    for (const auto& r : refused) {
        prompter.errors.clear();
        fill(editor, r.name, r.address, r.admin, r.password);
        EXPECT_FALSE(editor.save()) << r.expected;
        ASSERT_EQ(prompter.errors.size(), 1u) << r.expected;
        EXPECT_EQ(prompter.errors[0].text, QString::fromUtf8(r.expected));
        EXPECT_EQ(editor.result(), QDialog::Rejected);
    }
    prompter.errors.clear();
    fill(editor, "Name", "192.0.2.1", "adm", "pw");
    editor.port()->setText(QStringLiteral("0"));
    EXPECT_FALSE(editor.save());
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].text,
              QStringLiteral("Enter a port from 1 to 65535, or leave the port empty for 49310."));
    editor.port()->clear();
    fill(editor, "Name", "192.0.2.1", "adm", ""); // an agent's password is its own business
    EXPECT_TRUE(editor.save());
    // An agent on another port keeps it through an edit; the usual port is not written out.
    for (const char* address : {"203.0.113.9:50123", "203.0.113.9"}) {
        editor.setEntry({"Name", address, "adm", "pw"});
        EXPECT_EQ(editor.entry().address, address);
    }
    editor.setEntry({"Name", "203.0.113.9:49310", "adm", "pw"});
    EXPECT_EQ(editor.entry().address, "203.0.113.9");
    editor.button("help")->click();
    EXPECT_EQ(helpOpened, 1);
}

TEST_F(ManageServers, AControlWindowGivenToTheDialogOpensForTheRowAndClosesTheList) {
    writeList("Server=Alpha,192.0.2.1,admin,a1\n");
    std::vector<RemoteServerEntry> opened;
    CManageServersDlg dlg(dir.path(), prompter, help, [&opened](const RemoteServerEntry& e) { opened.push_back(e); });
    EXPECT_FALSE(dlg.button("control")->isEnabled());
    dlg.selectRow(0);
    ASSERT_TRUE(dlg.button("control")->isEnabled());
    EXPECT_TRUE(dlg.button("control")->toolTip().isEmpty());
    dlg.list()->itemDoubleClicked(dlg.list()->topLevelItem(0), 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (RemoteServerEntry{"Alpha", "192.0.2.1", "admin", "a1"}));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(fileText(), "Server=Alpha,192.0.2.1,admin,a1\n");
}

} // namespace
} // namespace kv::manager::ui
