// The "Status" column of the remote server list, filled from kvagent --headless on loopback through the library
// built here, the window driven offscreen.
#include "manager/ui/remote/CEditServerDlg.h"
#include "manager/ui/remote/CManageServersDlg.h"

#include "common/protocol/ProtocolWords.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/support/FreePort.h"
#include "tests/support/QtEvents.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kv::manager::ui {
namespace {

// The agent listens on the default port of an address of its own, because the editor keeps no port.
test::HeadlessAgent::Options agentOptions() {
    test::HeadlessAgent::Options options;
    options.listenAddress = "127.0.0." + std::to_string(60 + ::getpid() % 180);
    options.port = static_cast<int>(protocol::kDefaultPort);
    return options;
}

TEST(ManageServersStatus, TheStatusColumnFillsFromTheHostsAndAnEditedHostIsAskedAgainAlone) {
    test::guiApp();
    test::TempDir dir;
    ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    test::HeadlessAgent agent(agentOptions());
    ASSERT_TRUE(agent.start()) << agent.error();
    const auto binding =
        remote::RemoteBinding::bind(remote::RemoteBinding::candidatePaths(KV_BIN_DIR), dir.file("known_agents"));
    ASSERT_TRUE(binding.available()) << binding.detail();
    const std::string ip = agent.address().substr(0, agent.address().find(':'));
    dir.write("RemoteServerConfig.ini", "Server=Down,127.0.0.1:" + std::to_string(test::freeTcpPort()) +
                                            ",admin,secret\nServer=Guarded," + ip + ",admin,wrong\n");
    test::FakePrompter prompter;
    {
        CManageServersDlg dlg(dir.path(), prompter, [] {});
        dlg.startStatusRefresh(binding.library());
        EXPECT_EQ(dlg.statusText(0), QStringLiteral("Checking..."));
        EXPECT_EQ(dlg.list()->topLevelItem(1)->text(3), QStringLiteral("Checking..."));
        ASSERT_TRUE(test::spinEventsUntil(
            [&] {
                return dlg.statusText(0) != QStringLiteral("Checking...") &&
                       dlg.statusText(1) != QStringLiteral("Checking...");
            },
            60s));
        EXPECT_EQ(dlg.list()->topLevelItem(0)->text(3), QStringLiteral("Login refused"));
        EXPECT_EQ(dlg.list()->topLevelItem(1)->text(3), QStringLiteral("Not reachable"));

        // The administrator corrects the password: that host alone is asked again at once.
        dlg.selectRow(0);
        prompter.dialogHandler = [](QDialog& dialog) {
            auto& editor = dynamic_cast<CEditServerDlg&>(dialog);
            editor.field("password")->setText(QStringLiteral("secret"));
            editor.button("save")->click();
            return editor.result() == QDialog::Accepted;
        };
        dlg.button("edit")->click();
        ASSERT_EQ(prompter.informations.size(), 1u);
        EXPECT_EQ(dlg.rows()[0].address, ip);
        EXPECT_EQ(dlg.statusText(0), QStringLiteral("Checking..."));
        EXPECT_EQ(dlg.statusText(1), QStringLiteral("Not reachable")); // kept while not asked
        ASSERT_TRUE(test::spinEventsUntil([&] { return dlg.statusText(0) != QStringLiteral("Checking..."); }, 60s));
        EXPECT_EQ(dlg.list()->topLevelItem(0)->text(3), QStringLiteral("No setup selected"));
        dlg.button("close")->click();
    }
    EXPECT_TRUE(remote::RemoteRunner::waitForWorkers(30s));
}

} // namespace
} // namespace kv::manager::ui
