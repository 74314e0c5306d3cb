// The ban list window against kvagent --headless on loopback, through the library built here: what the host keeps
// after "Save Changes", what the local copies hold, and which controls are open after each step.
#include "manager/ui/remote/CBanListManagementDlg.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/core/HostBanFile.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/ui/remote/CBanListAddNewPlayerDlg.h"
#include "tests/manager/ui/remote/RemoteWindowFixture.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace std::chrono_literals;

namespace kv::manager::ui {
namespace {

using Dialog = CBanListManagementDlg;

const QString kRetrieved = QStringLiteral("Ban List Retrieved");

class RemoteBanList : public RemoteWindowFixture {
protected:
    void SetUp() override {
        RemoteWindowFixture::SetUp();
        clock.seconds = test::localMoment(2026, 12, 7, 12, 0);
    }

    std::unique_ptr<Dialog> open() {
        auto dialog = std::make_unique<Dialog>(context, prompter, host(), "Harbor Box",
                                               [this](const char* page) { helpPages.push_back(page); });
        dialog->show();
        EXPECT_TRUE(idle(*dialog)) << agent.output();
        return dialog;
    }
    static bool idle(Dialog& dialog) {
        return settle([&dialog] { return !dialog.busy(); });
    }
    static QStringList rows(const Dialog& dialog) {
        QStringList out;
        for (int r = 0; r < dialog.list()->topLevelItemCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << dialog.list()->topLevelItem(r)->text(c);
            out << cells.join(u'|');
        }
        return out;
    }
    // Open: Save, Add, Import, Remove, the list.
    static auto controls(const Dialog& d) {
        return std::tuple(d.button("save")->isEnabled(), d.button("add")->isEnabled(), d.button("import")->isEnabled(),
                          d.button("remove")->isEnabled(), d.list()->isEnabled());
    }
    std::string hostFile() { return joinPath(agent.host().gameFolder(), "System/KVSMBanList.txt"); }
    std::string localCopy() const { return joinPath(context.workingFolder, core::hostBanFileName(agent.address())); }

    // Answers the add dialog with `fill`, then presses its "Add".
    void answerAdd(std::function<void(CBanListAddNewPlayerDlg&)> fill) {
        prompter.dialogHandler = [fill = std::move(fill)](QDialog& d) {
            auto* add = dynamic_cast<CBanListAddNewPlayerDlg*>(&d);
            if (!add)
                return false;
            fill(*add);
            return add->add();
        };
    }

    std::vector<std::string> helpPages;
};

TEST_F(RemoteBanList, AddedBansReachTheHostAndComeBackAsTheyWere) {
    ASSERT_TRUE(makeDirectories(joinPath(agent.host().gameFolder(), "System")));
    ASSERT_TRUE(writeFileAtomically(hostFile(), "NAME,Raven,0,0,\"Raven\"\n"));
    auto dialog = std::make_unique<Dialog>(context, prompter,
                                           remote::RemoteHost{agent.address(), agent.adminName(), agent.password()},
                                           "Harbor Box", [this](const char* page) { helpPages.push_back(page); });
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Ban List Management"));
    EXPECT_EQ(controls(*dialog), std::tuple(false, false, false, false, false)); // until the download has ended
    dialog->show();
    ASSERT_TRUE(idle(*dialog));
    const char* headers[] = {"Ban Type", "Ban Value", "Ban Length", "Player Name"};
    const int widths[] = {70, 120, 100, 120};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(dialog->list()->headerItem()->text(c), QString::fromUtf8(headers[c]));
        EXPECT_EQ(dialog->list()->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(dialog->statusLine()->text(), kRetrieved);
    EXPECT_EQ(rows(*dialog), QStringList{QStringLiteral("NAME|Raven|Permanent|Raven")});
    EXPECT_EQ(controls(*dialog), std::tuple(false, true, true, false, true));
    dialog->list()->topLevelItem(0)->setSelected(true);
    EXPECT_EQ(controls(*dialog), std::tuple(false, true, true, true, true));

    // The designed enable rule, and what Add refuses: an empty value, a comma, a date past 32-bit time.
    answerAdd([this](CBanListAddNewPlayerDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add New Player Ban"));
        EXPECT_TRUE(d.choice("byName")->isChecked());
        EXPECT_TRUE(d.field("playerName")->isEnabled());
        EXPECT_FALSE(d.field("playerIp")->isEnabled() || d.field("playerMac")->isEnabled());
        EXPECT_EQ(d.endDate()->dateTime().toSecsSinceEpoch(), clock.seconds);
        EXPECT_EQ(d.endDate()->maximumDateTime().toSecsSinceEpoch(), INT32_MAX);
        EXPECT_FALSE(d.add());
        d.field("playerName")->setText(QStringLiteral("Wren,Jay"));
        EXPECT_FALSE(d.add());
        d.field("playerName")->setText(QStringLiteral("Wren"));
        d.permanent()->setChecked(true);
        EXPECT_FALSE(d.endDate()->isEnabled());
    });
    dialog->button("add")->click();
    EXPECT_EQ(prompter.errors.size(), 2u);
    answerAdd([this](CBanListAddNewPlayerDlg& d) {
        d.field("playerName")->setText(QStringLiteral("Moth"));
        d.choice("byIp")->setChecked(true);
        EXPECT_FALSE(d.field("playerName")->isEnabled());
        EXPECT_TRUE(d.field("playerIp")->isEnabled());
        d.field("playerIp")->setText(QStringLiteral("192.0.2.7"));
        d.endDate()->setDateTime(QDateTime::fromSecsSinceEpoch(clock.seconds + 30 * 86400));
    });
    dialog->button("add")->click();
    const QString dated =
        QString::fromStdString(core::banLengthText(static_cast<std::int32_t>(clock.seconds) + 30 * 86400));
    EXPECT_EQ(rows(*dialog),
              (QStringList{QStringLiteral("IP|192.0.2.7|") + dated + QStringLiteral("|Moth"),
                           QStringLiteral("NAME|Wren|Permanent|Wren"), QStringLiteral("NAME|Raven|Permanent|Raven")}));
    EXPECT_TRUE(dialog->button("save")->isEnabled());

    dialog->button("save")->click();
    EXPECT_EQ(controls(*dialog), std::tuple(false, false, false, false, false));
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(dialog->statusLine()->text(), kRetrieved);
    EXPECT_EQ(controls(*dialog), std::tuple(false, true, true, true, true)); // Raven is still selected
    const std::string sent = "IP,192.0.2.7," + std::to_string(clock.seconds + 30 * 86400) +
                             ",0,\"Moth\"\nNAME,Wren,0,0,\"Wren\"\nNAME,Raven,0,0,\"Raven\"\n";
    EXPECT_EQ(readFile(hostFile()).value_or("?"), sent);
    EXPECT_EQ(readFile(localCopy()).value_or("?"), sent);
    EXPECT_EQ(readFile(joinPath(context.workingFolder, "MasterBanList.txt")).value_or("?"), sent);
    dialog->reject();

    // Opened again: the host's list as it was sent, and a second save adds nothing to the record.
    dialog = open();
    EXPECT_EQ(rows(*dialog).size(), 3);
    EXPECT_EQ(rows(*dialog).at(1), QStringLiteral("NAME|Wren|Permanent|Wren"));
    EXPECT_EQ(readFile(localCopy() + ".old").value_or("?"), sent); // the copy of the last exchange, moved aside
    dialog->list()->topLevelItem(1)->setSelected(true);
    dialog->button("remove")->click();
    EXPECT_EQ(controls(*dialog), std::tuple(true, true, true, false, true));
    dialog->button("save")->click();
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(readFile(hostFile()).value_or("?").find("Wren"), std::string::npos);
    EXPECT_EQ(readFile(joinPath(context.workingFolder, "MasterBanList.txt")).value_or("?"), sent);
    EXPECT_TRUE(prompter.errors.size() == 2u);
}

TEST_F(RemoteBanList, AStaleCopyNeverStandsInForAHostWithoutAListAndTheMasterListMergesOnce) {
    ASSERT_TRUE(writeFileAtomically(localCopy(), "NAME,Stale,0,0,\"Stale\"\n"));
    ASSERT_TRUE(writeFileAtomically(joinPath(context.workingFolder, "MasterBanList.ini"),
                                    "MAC,00-11-22-33-44-55,0,0,\"Kite\"\nIP,198.51.100.4,0,0\nNAME,Finch,0,0,Finch\n"));
    std::unique_ptr<Dialog> dialog = open();
    EXPECT_EQ(dialog->statusLine()->text(), kRetrieved);
    EXPECT_TRUE(rows(*dialog).isEmpty());
    EXPECT_EQ(readFile(localCopy() + ".old").value_or("?"), "NAME,Stale,0,0,\"Stale\"\n");

    dialog->button("import")->click();
    dialog->button("import")->click();
    EXPECT_EQ(rows(*dialog), (QStringList{QStringLiteral("NAME|Finch|Permanent|Finch"),
                                          QStringLiteral("MAC|00-11-22-33-44-55|Permanent|Kite")}));
    EXPECT_TRUE(dialog->button("save")->isEnabled());
    dialog->button("save")->click();
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(readFile(hostFile()).value_or("?"), "NAME,Finch,0,0,\"Finch\"\nMAC,00-11-22-33-44-55,0,0,\"Kite\"\n");

    // The host gone: the upload fails, and Save stays open for another try once it is back.
    dialog->button("import")->click(); // nothing new: Save stays as it was
    EXPECT_FALSE(dialog->button("save")->isEnabled());
    dialog->list()->topLevelItem(0)->setSelected(true);
    dialog->button("remove")->click();
    agent.stop();
    dialog->button("save")->click();
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(dialog->statusLine()->text(), QStringLiteral("The Ban List could not be updated.  The remote server may "
                                                           "not be running the latest version of the program."));
    EXPECT_EQ(controls(*dialog), std::tuple(true, true, true, false, true));
    ASSERT_TRUE(agent.start()) << agent.error();
    dialog->button("save")->click();
    ASSERT_TRUE(idle(*dialog));
    EXPECT_EQ(dialog->statusLine()->text(), kRetrieved);
    EXPECT_EQ(readFile(hostFile()).value_or("?"), "MAC,00-11-22-33-44-55,0,0,\"Kite\"\n");
}

} // namespace
} // namespace kv::manager::ui
